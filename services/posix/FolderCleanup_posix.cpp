// Emptying a folder on POSIX, where there is no shell file operation.
//
// Entries are handled relative to open folder descriptors and never through a
// symbolic link: a link inside is moved or removed as a link, whatever it
// points to, and a folder that is itself a link is refused. An empty or
// relative folder is refused before anything is touched, and so is one that
// the ANSI calls would take for another (IsIntactAnsiPath).
//
// To the trash: every entry is checked first (its mount, the permissions a
// move needs, a trash that can take it), so that a clean-up that cannot
// keep the old files changes nothing; then the entries are renamed into the
// trash one by one, each after its info file is complete. Nothing is ever
// deleted for good on this path.
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

#include "CodePage.h"
#include "FolderCleanup.h"
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

// The folder dir names, opened without following a final link; refused when
// the ANSI calls would read it as another path or it is not absolute.
FileDescriptor OpenFolderItself(const AnsiString& dir, std::string& native) {
    if (!IsIntactAnsiPath(dir)) return FileDescriptor();  // it would name a parent or a sibling
    native = NativePath(dir);
    if (native.empty() || native[0] != '/') return FileDescriptor();  // never relative to the current folder
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    return FileDescriptor(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Whether rename() may take the entry out of the folder: it lies on the
// folder's own mount (not a mount point inside it) and the permissions allow
// it, the sticky bit and a folder's own ".." included.
bool CanMoveOut(int folderFd, const struct stat& folder, const MountIdentity& mount, const std::string& name,
                const struct stat& entry) {
    const std::optional<MountIdentity> entryMount = MountOf(folderFd, name);
    if (!entryMount || *entryMount != mount || entry.st_dev != folder.st_dev) return false;
    const uid_t user = ::geteuid();
    if (user == 0) return true;
    if ((folder.st_mode & S_ISVTX) != 0 && entry.st_uid != user && folder.st_uid != user) return false;
    return !S_ISDIR(entry.st_mode) || ::faccessat(folderFd, name.c_str(), W_OK, AT_EACCESS) == 0;
}

}  // namespace

TrashResult MoveFolderContentsToTrash(const AnsiString& dir, bool includeSubfolders) {
    TrashResult result;
    try {
        std::string native;
        FileDescriptor folder = OpenFolderItself(dir, native);
        if (!folder) return result;

        std::vector<std::string> names;
        if (!ListNames(folder.Get(), names)) return result;
        struct stat folderStat {};
        const std::optional<MountIdentity> mount = MountOf(folder.Get(), "");
        if (!mount || ::fstat(folder.Get(), &folderStat) != 0) return result;
        if (::geteuid() != 0 && ::faccessat(folder.Get(), ".", W_OK | X_OK, AT_EACCESS) != 0) return result;

        std::vector<std::string> moving;
        for (const std::string& name : names) {
            struct stat st {};
            if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT) continue;
                return result;
            }
            if (!includeSubfolders && S_ISDIR(st.st_mode)) continue;
            if (!CanMoveOut(folder.Get(), folderStat, *mount, name, st)) return result;
            moving.push_back(name);
        }
        if (moving.empty()) {
            result.outcome = TrashOutcome::Moved;
            return result;
        }

        char* real = ::realpath(native.c_str(), nullptr);
        if (real == nullptr) return result;
        const std::string folderPath = real;
        ::free(real);
        std::optional<Trash> trash = Trash::For(folderPath, *mount);
        if (!trash) return result;
        result.trashFolder = AnsiFromUtf8(trash->Folder() + "/files");

        bool movedAny = false;
        for (const std::string& name : moving) {
            if (!trash->Move(folder.Get(), folderPath, name)) {
                result.outcome = movedAny ? TrashOutcome::PartlyMoved : TrashOutcome::NothingChanged;
                return result;
            }
            movedAny = true;
        }
        result.outcome = TrashOutcome::Moved;
        return result;
    } catch (...) {
        return result;
    }
}

bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin) {
    // The recycle bin asked for means no permanent delete, whatever happens.
    if (toRecycleBin) return MoveFolderContentsToTrash(dir, includeSubfolders).outcome == TrashOutcome::Moved;
    try {
        std::string native;
        FileDescriptor folder = OpenFolderItself(dir, native);
        if (!folder) return false;
        std::vector<std::string> names;
        if (!ListNames(folder.Get(), names)) return false;

        // The deletion goes on past an entry that cannot be deleted; the
        // result is true when nothing was left behind.
        bool ok = true;
        for (const std::string& name : names) {
            struct stat st {};
            if (::fstatat(folder.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) ok = false;
                continue;
            }
            if (!includeSubfolders && S_ISDIR(st.st_mode)) continue;
            ok = RemoveEntry(folder.Get(), name) && ok;
        }
        return ok;
    } catch (...) {
        return false;
    }
}

}  // namespace kx
