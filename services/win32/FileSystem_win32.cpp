#include <windows.h>

#include "FileSystem.h"
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

bool IsLinkOrJunction(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace kx
