// The host on Windows: the module file name, the local time and the shell.
#include <windows.h>
#include <shellapi.h>

#include "PathSplit.h"
#include "SystemHost.h"
#include "Texts.h"

namespace kx {

AnsiString SystemHost::ExecutableFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
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
