#include "FileSystem.h"

#include <errno.h>
#include <sys/stat.h>

#include <string>
#include <vector>

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

bool CreateFolderPath(const AnsiString& path, int* systemError) {
    const std::string native = NativePath(path);
    int error = native.empty() ? ENOENT : 0;
    std::vector<std::string> made;
    // Each level from the top: one that stands (as a folder, or a link to
    // one) is passed, a missing one made.
    for (std::size_t slash = native.find('/', 1); error == 0; slash = native.find('/', slash + 1)) {
        const std::string level = native.substr(0, slash);
        struct stat st {};
        if (::stat(level.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) error = ENOTDIR;
        } else if (errno != ENOENT) {
            error = errno;
        } else if (::mkdir(level.c_str(), 0777) == 0) {
            made.push_back(level);
        } else if (errno != EEXIST) {
            error = errno;
        }
        if (slash == std::string::npos) break;
    }
    if (error == 0) return DirectoryExists(path);
    // A failure leaves nothing behind: the levels made here go again,
    // innermost first (rmdir takes only an empty folder).
    for (auto level = made.rbegin(); level != made.rend(); ++level) ::rmdir(level->c_str());
    if (systemError) *systemError = error;
    return false;
}

int LastSystemError() { return errno; }

bool IsLinkOrJunction(const AnsiString& path) {
    if (path.empty() || !IsIntactAnsiPath(path)) return false;
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

EntryType EntryTypeOf(const AnsiString& path) {
    if (path.empty() || !IsIntactAnsiPath(path)) return EntryType::Other;
    struct stat st {};
    if (::lstat(NativePath(path).c_str(), &st) != 0) return errno == ENOENT ? EntryType::Missing : EntryType::Other;
    if (S_ISREG(st.st_mode)) return EntryType::File;
    if (S_ISDIR(st.st_mode)) return EntryType::Folder;
    return S_ISLNK(st.st_mode) ? EntryType::Link : EntryType::Other;
}

bool HideFolder(const AnsiString&) { return true; }

}  // namespace kx
