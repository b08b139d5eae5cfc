#include "MoveSurvey.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CodePage.h"
#include "PathSplit.h"

namespace kx {

namespace {

constexpr unsigned kLook = STATX_TYPE | STATX_MODE | STATX_UID | STATX_MNT_ID;
constexpr std::uint64_t kPinned = STATX_ATTR_IMMUTABLE | STATX_ATTR_APPEND;

MoveCheck Blocked(MoveBlock block, const std::string& entry, int error) {
    MoveCheck check;
    check.block = block;
    check.entry = AnsiFromUtf8(entry);
    check.systemError = error;
    return check;
}

// An immutable or append-only entry cannot be renamed, not even by root;
// neither can anything be renamed out of such a folder. statx tells on most
// file systems; elsewhere the inode flags of a regular file or folder are
// asked (nothing else is ever opened: opening a device may do something).
bool IsPinned(int dirFd, const char* name, const struct statx& sx) {
    if ((sx.stx_attributes_mask & kPinned) == kPinned) return (sx.stx_attributes & kPinned) != 0;
    const bool folder = S_ISDIR(sx.stx_mode);
    if (!folder && !S_ISREG(sx.stx_mode)) return false;
    const int fd = name[0] == '\0' ? ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0)
                                   : ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                                                                (folder ? O_DIRECTORY : 0));
    if (fd < 0) return false;  // cannot tell; the move itself will say
    int flags = 0;
    const bool known = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(fd);
    return known && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
}

bool OnMount(const struct statx& sx, const MountIdentity& mount) { return MountOfStatx(sx) == mount; }

// The folder's listings from the top down to where the walk is, and the
// path from the folder to each.
class Listings {
public:
    Listings() { path_.reserve(256); }
    ~Listings() {
        for (DIR* dir : dirs_) {
            if (dir != nullptr) ::closedir(dir);
        }
    }
    Listings(const Listings&) = delete;
    Listings& operator=(const Listings&) = delete;

    // Lists the folder fd (taken over), reached by name ("" for the top).
    bool Push(int fd, const char* name) {
        try {
            lengths_.push_back(path_.size());
            dirs_.push_back(nullptr);  // room first, so that no listing is lost
        } catch (...) {
            ::close(fd);
            throw;
        }
        dirs_.back() = ::fdopendir(fd);
        if (dirs_.back() == nullptr) {
            const int error = errno;
            ::close(fd);
            dirs_.pop_back();
            lengths_.pop_back();
            errno = error;
            return false;
        }
        ::rewinddir(dirs_.back());
        if (name[0] != '\0') {
            if (!path_.empty()) path_ += kPathSeparator;
            path_ += name;
        }
        return true;
    }
    void Pop() {
        ::closedir(dirs_.back());
        dirs_.pop_back();
        path_.resize(lengths_.back());
        lengths_.pop_back();
    }
    bool Empty() const { return dirs_.empty(); }
    bool AtTop() const { return dirs_.size() == 1; }
    DIR* Current() const { return dirs_.back(); }
    // The path of the folder being listed, and of one of its entries.
    const std::string& Path() const { return path_; }
    std::string PathOf(const char* name) const { return path_.empty() ? name : path_ + kPathSeparator + name; }

private:
    std::vector<DIR*> dirs_;
    std::vector<std::size_t> lengths_;
    std::string path_;
};

// Whether rename() may take entries out of the folder at all.
MoveCheck FolderLetsGo(int folderFd, const struct statx& folder) {
    if (IsPinned(folderFd, "", folder)) return Blocked(MoveBlock::Unmovable, "", 0);
    // Root may write anywhere but on a read-only mount, which this also tells.
    if (::faccessat(folderFd, ".", W_OK | X_OK, AT_EACCESS) != 0) return Blocked(MoveBlock::Unmovable, "", errno);
    return {};
}

// Whether rename() may take this direct entry out of the folder.
MoveCheck EntryMayGo(int folderFd, const struct statx& folder, const char* name, const struct statx& entry) {
    if (IsPinned(folderFd, name, entry)) return Blocked(MoveBlock::Unmovable, name, 0);
    const uid_t user = ::geteuid();
    if (user == 0) return {};
    // The sticky bit keeps others' entries where they are.
    if ((folder.stx_mode & S_ISVTX) != 0 && entry.stx_uid != user && folder.stx_uid != user) {
        return Blocked(MoveBlock::Unmovable, name, 0);
    }
    // A folder that moves to another parent rewrites its "..".
    if (S_ISDIR(entry.stx_mode) && ::faccessat(folderFd, name, W_OK, AT_EACCESS) != 0) {
        return Blocked(MoveBlock::Unmovable, name, errno);
    }
    return {};
}

// The folder's real path, and the trash its entries would go to.
MoveCheck LookForTheTrash(const std::string& native, MovePlan& plan) {
    char* real = ::realpath(native.c_str(), nullptr);
    if (real == nullptr) return Blocked(MoveBlock::Unreadable, "", errno);
    plan.folderPath = real;
    ::free(real);
    const TrashVerdict trash = LookForTrash(plan.folderPath, plan.mount);
    return Blocked(trash.block, "", trash.systemError);
}

}  // namespace

MoveCheck SurveyMove(int folderFd, const std::string& native, bool includeSubfolders, MovePlan& plan) {
    struct statx folder {};
    if (::statx(folderFd, "", AT_EMPTY_PATH, kLook, &folder) != 0) return Blocked(MoveBlock::Unreadable, "", errno);
    plan.mount = MountOfStatx(folder);

    Listings listings;
    const int top = ::fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    if (top < 0 || !listings.Push(top, "")) return Blocked(MoveBlock::Unreadable, "", errno);
    while (!listings.Empty()) {
        errno = 0;
        const dirent* entry = ::readdir(listings.Current());
        if (entry == nullptr) {
            if (errno != 0) return Blocked(MoveBlock::Unreadable, listings.Path(), errno);
            listings.Pop();
            continue;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        const int dirFd = ::dirfd(listings.Current());
        struct statx sx {};
        if (::statx(dirFd, name, AT_SYMLINK_NOFOLLOW, kLook, &sx) != 0) {
            if (errno == ENOENT) continue;  // gone meanwhile: nothing to keep
            return Blocked(MoveBlock::Unreadable, listings.PathOf(name), errno);
        }
        const bool isFolder = S_ISDIR(sx.stx_mode);
        const bool direct = listings.AtTop();
        if (direct && isFolder && !includeSubfolders) continue;
        if (direct && plan.moving.empty()) {
            const MoveCheck itself = FolderLetsGo(folderFd, folder);
            if (!itself.Clear()) return itself;
        }
        // A mount anywhere below would carry another file system's files
        // into the trash, and emptying the trash would delete them.
        if (!OnMount(sx, plan.mount)) return Blocked(MoveBlock::OtherMount, listings.PathOf(name), 0);
        if (direct) {
            const MoveCheck check = EntryMayGo(folderFd, folder, name, sx);
            if (!check.Clear()) return check;
            plan.moving.emplace_back(name);
        }
        if (!isFolder) continue;

        const int fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT) continue;
            return Blocked(MoveBlock::Unreadable, listings.PathOf(name), errno);
        }
        // Looked at again as opened: a mount may have taken its place.
        struct statx opened {};
        const bool looked = ::statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &opened) == 0;
        if (!looked || !OnMount(opened, plan.mount)) {
            const int error = looked ? 0 : errno;
            ::close(fd);
            return Blocked(looked ? MoveBlock::OtherMount : MoveBlock::Unreadable, listings.PathOf(name), error);
        }
        if (!listings.Push(fd, name)) return Blocked(MoveBlock::Unreadable, listings.PathOf(name), errno);
    }
    if (plan.moving.empty()) return {};
    return LookForTheTrash(native, plan);
}

FileDescriptor OpenParentOf(int folderFd, const std::string& relativePath, std::string& name) {
    FileDescriptor parent(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
    std::size_t start = 0;
    for (std::size_t slash = relativePath.find('/'); parent && slash != std::string::npos;
         slash = relativePath.find('/', start)) {
        const std::string level = relativePath.substr(start, slash - start);
        start = slash + 1;
        if (level.empty()) continue;
        // O_NOFOLLOW: a link as a level would lead out of the folder.
        parent.Reset(::openat(parent.Get(), level.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    name = relativePath.substr(start);
    return parent;
}

MoveCheck SurveyFileMoves(int folderFd, const std::string& native, const std::vector<std::string>& relativePaths,
                          MovePlan& plan) {
    struct statx folder {};
    if (::statx(folderFd, "", AT_EMPTY_PATH, kLook, &folder) != 0) return Blocked(MoveBlock::Unreadable, "", errno);
    plan.mount = MountOfStatx(folder);
    for (const std::string& relative : relativePaths) {
        std::string name;
        const FileDescriptor parent = OpenParentOf(folderFd, relative, name);
        if (!parent) {
            if (errno == ENOENT) continue;  // its folder is gone, and the file with it
            // A level that is a link or no folder: what lies behind is not ours.
            const bool elsewhere = errno == ELOOP || errno == ENOTDIR;
            return Blocked(elsewhere ? MoveBlock::OtherMount : MoveBlock::Unreadable, relative, errno);
        }
        struct statx parentLook {};
        struct statx sx {};
        if (::statx(parent.Get(), "", AT_EMPTY_PATH, kLook, &parentLook) != 0) {
            return Blocked(MoveBlock::Unreadable, relative, errno);
        }
        if (::statx(parent.Get(), name.c_str(), AT_SYMLINK_NOFOLLOW, kLook, &sx) != 0) {
            if (errno == ENOENT) continue;  // nothing to keep
            return Blocked(MoveBlock::Unreadable, relative, errno);
        }
        if (S_ISDIR(sx.stx_mode)) return Blocked(MoveBlock::Unreadable, relative, EISDIR);
        if (!OnMount(parentLook, plan.mount) || !OnMount(sx, plan.mount)) {
            return Blocked(MoveBlock::OtherMount, relative, 0);
        }
        MoveCheck check = FolderLetsGo(parent.Get(), parentLook);
        if (check.Clear()) check = EntryMayGo(parent.Get(), parentLook, name.c_str(), sx);
        if (!check.Clear()) {
            check.entry = AnsiFromUtf8(relative);
            return check;
        }
        plan.moving.push_back(relative);
    }
    if (plan.moving.empty()) return {};
    return LookForTheTrash(native, plan);
}

}  // namespace kx
