#include <windows.h>

#include "FileSystem.h"

namespace kx {

bool DirectoryExists(const AnsiString& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolder(const AnsiString& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

}  // namespace kx
