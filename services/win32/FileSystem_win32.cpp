#include <windows.h>

#include <vector>

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
    // of 81 5C is none), and the whole path is the last level.
    DWORD error = 0;
    std::size_t separators = 0;
    std::vector<AnsiString> made;
    const auto makeLevel = [&](std::size_t end) {
        const AnsiString level = path.substr(0, end);
        if (separators++ < separatorsBeforeLevels || level.empty() || DirectoryExists(level)) return;
        if (CreateDirectoryA(level.c_str(), nullptr)) {
            made.push_back(level);
        } else if (!DirectoryExists(level)) {
            error = GetLastError();
        }
    };
    for (const GbkChar c : GbkChars(path)) {
        if (error == 0 && (c.Is('\\') || c.Is('/'))) makeLevel(c.offset);
    }
    if (error == 0) makeLevel(path.size());
    if (error == 0) return DirectoryExists(path);
    // A failure leaves nothing behind: the levels made here go again,
    // innermost first (RemoveDirectoryA takes only an empty folder).
    for (auto level = made.rbegin(); level != made.rend(); ++level) RemoveDirectoryA(level->c_str());
    if (systemError) *systemError = static_cast<int>(error);
    return false;
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
