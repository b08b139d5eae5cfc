// DeleteFolderContents on POSIX, where there is no shell file operation.
//
// Every entry directly inside the folder goes (with includeSubfolders = false
// only the entries that are not folders); the folder itself stays. Entries
// are handled relative to open folder descriptors and never through a
// symbolic link: a link inside is removed as a link, whatever it points to.
// An empty or relative folder is refused before anything is touched, and so is
// one that the ANSI calls would take for another (IsIntactAnsiPath).
// toRecycleBin moves each entry to the home trash when that is on the same file
// system, else (or when moving fails) deletes it for good, like the Windows
// Recycle Bin on a drive that has none. The deletion goes on past an entry
// that cannot be deleted; the result is true when nothing was left behind.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "PathRules.h"
#include "PosixFiles.h"
#include "Trash.h"
#include "UnitFunction.h"

namespace kx {

namespace {

// The names in the folder behind fd, without "." and "..". The descriptor
// stays open and keeps its own position.
bool ListNames(int fd, std::vector<std::string>& names) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return false;
    DIR* dir = ::fdopendir(copy);
    if (dir == nullptr) {
        ::close(copy);
        return false;
    }
    ::rewinddir(dir);
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
        errno = 0;
    }
    const bool ok = errno == 0;
    ::closedir(dir);
    return ok;
}

bool RemoveEntry(int parentFd, const std::string& name);

bool RemoveFolderTree(int parentFd, const std::string& name) {
    // O_NOFOLLOW: should the entry have become a link since it was looked at,
    // the open fails instead of entering the link's target.
    FileDescriptor fd(::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) return false;
    std::vector<std::string> names;
    bool ok = ListNames(fd.Get(), names);
    for (const std::string& child : names) ok = RemoveEntry(fd.Get(), child) && ok;
    fd.Reset();
    return ::unlinkat(parentFd, name.c_str(), AT_REMOVEDIR) == 0 && ok;
}

bool RemoveEntry(int parentFd, const std::string& name) {
    struct stat st {};
    if (::fstatat(parentFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) return RemoveFolderTree(parentFd, name);
    return ::unlinkat(parentFd, name.c_str(), 0) == 0 || errno == ENOENT;
}

}  // namespace

bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin) {
    try {
        if (!IsIntactAnsiPath(dir)) return false;  // it would name a parent or a sibling
        const std::string native = NativePath(dir);
        if (native.empty() || native[0] != '/') return false;  // never relative to the current folder
        FileDescriptor folder(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder) return false;

        std::vector<std::string> names;
        if (!ListNames(folder.Get(), names)) return false;

        std::optional<HomeTrash> trash;
        std::string folderPath;
        if (toRecycleBin && !names.empty()) {
            char* real = ::realpath(native.c_str(), nullptr);
            if (real != nullptr) {
                folderPath = real;
                ::free(real);
                if (folderPath == "/") folderPath.clear();
                trash = HomeTrash::Open();
            }
        }

        bool ok = true;
        for (const std::string& name : names) {
            struct stat st {};
            if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) ok = false;
                continue;
            }
            if (!includeSubfolders && S_ISDIR(st.st_mode)) continue;
            if (trash && trash->Move(folder.Get(), folderPath, name)) continue;
            ok = RemoveEntry(folder.Get(), name) && ok;
        }
        return ok;
    } catch (...) {
        return false;
    }
}

}  // namespace kx
