#include "FileSystem.h"

#include <errno.h>
#include <sys/stat.h>

#include "PathRules.h"
#include "PosixFiles.h"

namespace kx {

bool DirectoryExists(const AnsiString& path) {
    if (path.empty() || !IsIntactAnsiPath(path)) return false;
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(const AnsiString& path) {
    if (!IsIntactAnsiPath(path) || !IsWindowsCreatableName(LastPathComponent(path))) {
        errno = EINVAL;
        return false;
    }
    return ::mkdir(NativePath(path).c_str(), 0777) == 0;
}

bool IsLinkOrJunction(const AnsiString& path) {
    if (path.empty() || !IsIntactAnsiPath(path)) return false;
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

}  // namespace kx
