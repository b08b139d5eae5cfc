#include <windows.h>

#include "FileReading.h"
#include "PathRules.h"
#include "Win32Handles.h"

namespace kx {

FileContents ReadFileContents(const AnsiString& path) {
    FileContents contents;
    if (!IsIntactAnsiPath(path)) {
        contents.outcome = ReadOutcome::Failed;
        return contents;
    }
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        contents.outcome = missing ? ReadOutcome::Missing : ReadOutcome::Failed;
        return contents;
    }
    contents.outcome = ReadOutcome::Failed;
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) return contents;
    // Room for the whole file at once, as a string that doubled its way up
    // would hold a third more, and both buffers while it grows.
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 &&
        static_cast<unsigned long long>(size.QuadPart) < contents.bytes.max_size()) {
        contents.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            contents.bytes.clear();
            return contents;
        }
        if (got == 0) break;
        contents.bytes.append(buffer, got);
    }
    contents.outcome = ReadOutcome::Read;
    return contents;
}

bool PathTaken(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) return false;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace kx
