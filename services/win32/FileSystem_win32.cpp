#include <windows.h>

#include "FileSystem.h"
#include "Gbk.h"
#include "PathRules.h"

namespace kx {

// A path that is not intact (PathRules.h) would be read as a sibling or a
// parent: it names no folder, and none is created for it.

bool DirectoryExists(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolder(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool CreateFolderPath(const AnsiString& path, int* systemError) {
    if (!IsIntactAnsiPath(path) || path.empty()) {
        if (systemError) *systemError = ERROR_INVALID_NAME;
        return false;
    }
    // The drive ("C:\\") or the share ("\\\\server\\share\\") at the start is never made.
    std::size_t separatorsBeforeLevels = path.size() >= 2 && path[1] == ':' ? 1 : 0;
    if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
        separatorsBeforeLevels = 4;
    }
    // Every level ends at a separator that is a character of its own (the 5C
    // of 81 5C is none).
    DWORD error = 0;
    std::size_t separators = 0;
    for (std::size_t pos = 0; pos <= path.size() && error == 0;) {
        const bool atEnd = pos == path.size();
        if (atEnd || path[pos] == '\\' || path[pos] == '/') {
            const AnsiString level = path.substr(0, pos);
            if (separators++ >= separatorsBeforeLevels && !level.empty() && !DirectoryExists(level) &&
                !CreateDirectoryA(level.c_str(), nullptr) && !DirectoryExists(level)) {
                error = GetLastError();
            }
        }
        if (atEnd) break;
        pos += GbkCharLength(path, pos);
    }
    if (error != 0 && systemError) *systemError = static_cast<int>(error);
    return error == 0 && DirectoryExists(path);
}

int LastSystemError() { return static_cast<int>(GetLastError()); }

bool IsLinkOrJunction(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

EntryType EntryTypeOf(const AnsiString& path) {
    if (path.empty() || !IsIntactAnsiPath(path)) return EntryType::Other;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? EntryType::Missing : EntryType::Other;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryType::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryType::Folder;
    return (attributes & FILE_ATTRIBUTE_DEVICE) != 0 ? EntryType::Other : EntryType::File;
}

bool HideFolder(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes & FILE_ATTRIBUTE_HIDDEN) != 0 ||
           SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN) != FALSE;
}

}  // namespace kx
