// The text writers' platform half on Windows: ANSI to UTF-16 and the file
// creation through CreateFileA, with the system's message on failure.
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "CodePage.h"
#include "FileWriting.h"
#include "PathRules.h"
#include "RegularFile.h"
#include "SystemText.h"
#include "TextContent.h"
#include "UnitFunction.h"
#include "Win32Handles.h"

namespace kx {

namespace {

[[noreturn]] void ThrowCreateError(const AnsiString& path, DWORD error) {
    // The error code is taken first: GetFullPathNameA may set its own.
    char fullPath[kFullPathBufferSize] = {};
    LPSTR filePart = nullptr;
    const DWORD fullLength = GetFullPathNameA(path.c_str(), kFullPathBufferSize, fullPath, &filePart);
    const AnsiString shownPath = PathForCreateMessage(path, fullPath, sizeof fullPath, fullLength);
    // Without the system's text the message ends after the path.
    throw EFCreateError(shownPath, SystemErrorText(error));
}

}  // namespace

WideString AnsiToWideText(const AnsiString& text) {
    if (text.empty()) return WideString();
    if (text.size() >= static_cast<std::size_t>(INT_MAX)) throw ConversionError("the text is too long");
    const int n = static_cast<int>(text.size());
    // n + 1 zeroed units: at most n come out, so the last one always ends the text.
    std::vector<wchar_t> buffer(static_cast<std::size_t>(n) + 1, L'\0');
    // Bad input never fails the call (it becomes the default character); a
    // call that fails all the same would leave the buffer all zero, and an
    // empty file is no way to report that.
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), n, buffer.data(), n + 1) == 0) {
        throw ConversionError("MultiByteToWideChar failed with error " + std::to_string(GetLastError()));
    }
    WideString result;
    for (const wchar_t* unit = buffer.data(); *unit != L'\0'; ++unit) result += static_cast<char16_t>(*unit);
    return result;
}

void WriteWholeFile(const AnsiString& path, const std::string& content) {
    // A path the ANSI call would take for another one: Windows' own error for
    // a name it cannot read, and no call that could create that other file.
    if (!IsIntactAnsiPath(path)) ThrowCreateError(path, ERROR_INVALID_NAME);
    FileHandle file = CreateRegularFileAlways(path, GENERIC_READ | GENERIC_WRITE, 0);
    if (!file) ThrowCreateError(path, GetLastError());
    if (content.size() > MAXDWORD) throw EWriteError(path);
    const DWORD size = static_cast<DWORD>(content.size());
    DWORD written = 0;
    const bool stored = content.empty() || (WriteFile(file.Get(), content.data(), size, &written, nullptr) &&
                                            written == size);
    // A failing close can mean data that never reached the disk (a network
    // drive, a quota): that is a short write as well.
    const bool closed = file.Close();
    if (!stored || !closed) throw EWriteError(path);
}

void WriteWholeFileAtomically(const AnsiString& path, const std::vector<std::string_view>& pieces) {
    const AnsiString temporary = path + kTemporaryFileSuffix;
    if (!IsIntactAnsiPath(path)) ThrowCreateError(path, ERROR_INVALID_NAME);
    FileHandle file = CreateRegularFileAlways(temporary, GENERIC_READ | GENERIC_WRITE, 0);
    if (!file) ThrowCreateError(temporary, GetLastError());
    bool ok = true;
    for (const std::string_view piece : pieces) {
        if (!ok || piece.empty()) continue;
        ok = piece.size() <= MAXDWORD;
        const DWORD size = static_cast<DWORD>(piece.size());
        DWORD written = 0;
        ok = ok && WriteFile(file.Get(), piece.data(), size, &written, nullptr) && written == size;
    }
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) ok = FlushFileBuffers(file.Get()) && ok;
    ok = file.Close() && ok;
    if (!ok) {
        DeleteFileA(temporary.c_str());
        throw EWriteError(path);
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileA(temporary.c_str());
        ThrowCreateError(path, error);
    }
}

}  // namespace kx
