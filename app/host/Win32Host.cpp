// The host on Windows: the module file name, the local time and the shell.
#include <windows.h>
#include <shellapi.h>

#include "PathSplit.h"
#include "SystemHost.h"
#include "Texts.h"
#include "win32/SystemText.h"

namespace kx {

AnsiString SystemHost::ExecutableFolder() {
    // Room for twice what the ANSI calls can use: a result that reaches
    // MAX_PATH is too long for them, or cut short (Windows fills the buffer;
    // Wine stops before a double-byte character that does not fit, short of
    // the end), and its folder would be another one.
    char buffer[2 * MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0) {
        throw KxError("Cannot find the program's folder: GetModuleFileName: " + SystemErrorText(GetLastError()));
    }
    if (length >= MAX_PATH) {
        throw KxError("Cannot find the program's folder: GetModuleFileName gave a path of 260 bytes or more");
    }
    return SplitAtLastSeparator(AnsiString(buffer, length), "\\:").folder;
}

AnsiString SystemHost::OutputRoot() { return ExecutableFolder() + texts::kOutputRootName; }

LocalDate SystemHost::Today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

void SystemHost::ShellOpen(const AnsiString& path) {
    // Nothing registered for the file is the user's matter; the result is ignored.
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kx
