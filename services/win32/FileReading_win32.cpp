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
