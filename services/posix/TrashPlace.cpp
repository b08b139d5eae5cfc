// Which trash takes a folder's entries, and whether it stands or could be
// made: looked at first without changing anything, then made, by the same
// walk down its levels.
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Trash.h"

namespace kx {

namespace {

std::optional<MountIdentity> MountAt(int dirFd, const char* name, int flags) {
    struct statx sx {};
    if (::statx(dirFd, name, flags, STATX_MNT_ID, &sx) != 0) return std::nullopt;
    return MountOfStatx(sx);
}

// A folder of the user's own that nobody else may write to.
bool IsPrivateFolder(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

std::string Below(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The top folder of the mount that folderPath (real, absolute) lies on.
std::string TopFolderOf(const std::string& folderPath, const MountIdentity& mount) {
    std::string top = folderPath;
    while (top != "/") {
        const std::string parent = ParentOf(top);
        const std::optional<MountIdentity> above = MountAt(AT_FDCWD, parent.c_str(), AT_SYMLINK_NOFOLLOW);
        if (!above || *above != mount) break;
        top = parent;
    }
    return top;
}

// Where the home trash is: an existing folder and the levels below it that
// may be created. $XDG_DATA_HOME is made as needed, as the user named it;
// of $HOME only .local/share/Trash is, never the home folder itself.
struct HomeTrashPlace {
    std::string base;
    std::vector<std::string> levels;
};

std::optional<HomeTrashPlace> HomeTrashPlaceNow() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
        HomeTrashPlace place{data, {"Trash"}};
        struct stat st {};
        while (place.base != "/" && ::stat(place.base.c_str(), &st) != 0 && errno == ENOENT) {
            const std::size_t slash = place.base.rfind('/');
            const std::string level = place.base.substr(slash + 1);
            if (!level.empty()) place.levels.insert(place.levels.begin(), level);
            place.base = slash == 0 ? "/" : place.base.substr(0, slash);
        }
        return place;
    }
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
        home = env;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
        home = pw->pw_dir;
    }
    if (home.empty()) return std::nullopt;
    return HomeTrashPlace{home, {".local", "share", "Trash"}};
}

// The mount the home trash is or would be on: that of its deepest existing
// level (links followed: the user may have moved the folder elsewhere).
std::optional<MountIdentity> HomeTrashMount(const HomeTrashPlace& place) {
    std::optional<MountIdentity> mount = MountAt(AT_FDCWD, place.base.c_str(), 0);
    std::string path = place.base;
    for (const std::string& level : place.levels) {
        path = Below(path, level);
        const std::optional<MountIdentity> deeper = MountAt(AT_FDCWD, path.c_str(), 0);
        if (!deeper) break;
        mount = deeper;
    }
    return mount;
}

// The walk down a trash's levels. Each level that stands is entered; a
// missing one is made (mode 0700) when making, and otherwise ends what is
// entered: it counts as there when the folder above lets us make it, and
// everything below it is then new as well.
class LevelWalk {
public:
    LevelWalk(FileDescriptor start, std::string path, bool make)
        : fd_(std::move(start)), path_(std::move(path)), make_(make) {}

    // Goes down into name; false, with Error(), when it cannot be used.
    bool Down(const std::string& name, bool followLinks) {
        FileDescriptor next;
        if (!Enter(name, followLinks, next)) return false;
        if (next) {
            fd_ = std::move(next);
            path_ = Below(path_, name);
        } else {
            standing_ = false;
        }
        return true;
    }

    // name below the current level, opened when it stands (or was made);
    // an empty descriptor for one that could be made.
    bool Enter(const std::string& name, bool followLinks, FileDescriptor& out) {
        out.Reset();
        if (!standing_) return true;
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
        out.Reset(::openat(fd_.Get(), name.c_str(), flags));
        if (out) return true;
        if (errno != ENOENT) return Fail(errno);
        if (!make_) return ::faccessat(fd_.Get(), ".", W_OK | X_OK, AT_EACCESS) == 0 || Fail(errno);
        const bool made = TrashStepAllowed(TrashStep::MakeFolder) &&
                          (::mkdirat(fd_.Get(), name.c_str(), 0700) == 0 || errno == EEXIST);
        if (!made) return Fail(errno);
        out.Reset(::openat(fd_.Get(), name.c_str(), flags));
        return out || Fail(errno);
    }

    // The deepest level that stands, and its path.
    int Fd() const { return fd_.Get(); }
    const std::string& Path() const { return path_; }
    bool Standing() const { return standing_; }
    int Error() const { return error_; }

private:
    bool Fail(int error) {
        error_ = error;
        return false;
    }

    FileDescriptor fd_;
    std::string path_;
    bool make_;
    bool standing_ = true;
    int error_ = 0;
};

TrashVerdict NoTrash(int error) { return {MoveBlock::NoTrash, error}; }

struct FoundTrash {
    std::string folder;
    std::string topdir;
    FileDescriptor files;
    FileDescriptor info;
};

// files/ and info/ below the trash folder the walk stands in (or would
// make), and the checks that hold for every trash: each level there is
// writable, the deepest that stands is on the folder's mount, and none of
// it lies inside the folder being emptied.
TrashVerdict FinishTrash(LevelWalk& walk, const std::string& folderPath, const MountIdentity& mount,
                         FoundTrash& found) {
    if (!walk.Enter("files", false, found.files) || !walk.Enter("info", false, found.info)) {
        return NoTrash(walk.Error());
    }
    for (const FileDescriptor* level : {&found.files, &found.info}) {
        if (*level && ::faccessat(level->Get(), ".", W_OK | X_OK, AT_EACCESS) != 0) return NoTrash(errno);
    }
    const std::optional<MountIdentity> deepest = MountOf(found.files ? found.files.Get() : walk.Fd(), "");
    if (!deepest) return NoTrash(errno);
    if (*deepest != mount) return NoTrash(EXDEV);
    // What is made later goes below the deepest level that stands: inside
    // the folder exactly when that level is.
    char* real = ::realpath(walk.Path().c_str(), nullptr);
    if (real == nullptr) return NoTrash(errno);
    const std::string standing = real;
    ::free(real);
    if (standing == folderPath || standing.compare(0, folderPath.size() + 1, folderPath + "/") == 0) {
        return {MoveBlock::TrashInside, 0};
    }
    return {};
}

TrashVerdict FindHomeTrash(const HomeTrashPlace& place, const std::string& folderPath, const MountIdentity& mount,
                           bool make, FoundTrash& found) {
    FileDescriptor base(::open(place.base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!base) return NoTrash(errno);
    LevelWalk walk(std::move(base), place.base, make);
    found.folder = place.base;
    for (const std::string& level : place.levels) {
        // Links followed: the user may keep the folders elsewhere.
        if (!walk.Down(level, true)) return NoTrash(walk.Error());
        found.folder = Below(found.folder, level);
    }
    return FinishTrash(walk, folderPath, mount, found);
}

TrashVerdict FindTopTrash(const std::string& folderPath, const MountIdentity& mount, bool make, FoundTrash& found) {
    const std::string topdir = TopFolderOf(folderPath, mount);
    // The folder is the top of its mount: its trash would be one of its own entries.
    if (topdir == folderPath) return {MoveBlock::TrashInside, 0};
    FileDescriptor top(::open(topdir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top) return NoTrash(errno);
    const std::optional<MountIdentity> topMount = MountOf(top.Get(), "");
    if (!topMount) return NoTrash(errno);
    if (*topMount != mount) return NoTrash(EXDEV);
    const std::string uid = std::to_string(::geteuid());
    found.topdir = topdir;

    // An administrator's .Trash counts only as a real folder with the sticky
    // bit; a link there could lead anywhere. Our folder in it must be ours alone.
    struct stat shared {};
    if (::fstatat(top.Get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) != 0) {
        FileDescriptor sharedFd(::openat(top.Get(), ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sharedFd) {
            LevelWalk walk(std::move(sharedFd), Below(topdir, ".Trash"), make);
            if (walk.Down(uid, false) && (!walk.Standing() || IsPrivateFolder(walk.Fd()))) {
                found.folder = Below(Below(topdir, ".Trash"), uid);
                return FinishTrash(walk, folderPath, mount, found);
            }
        }
    }
    LevelWalk walk(std::move(top), topdir, make);
    if (!walk.Down(".Trash-" + uid, false)) return NoTrash(walk.Error());
    if (walk.Standing() && !IsPrivateFolder(walk.Fd())) return NoTrash(EPERM);
    found.folder = Below(topdir, ".Trash-" + uid);
    return FinishTrash(walk, folderPath, mount, found);
}

TrashVerdict FindTrash(const std::string& folderPath, const MountIdentity& mount, bool make, FoundTrash& found) {
    if (folderPath.empty() || folderPath[0] != '/') return NoTrash(EINVAL);
    // The home trash, when it is on the folder's own mount. A home trash
    // that cannot even be looked at is no reason to go elsewhere: the user
    // would not find the files there.
    if (const std::optional<HomeTrashPlace> place = HomeTrashPlaceNow()) {
        const std::optional<MountIdentity> homeMount = HomeTrashMount(*place);
        if (!homeMount) return NoTrash(errno);
        if (*homeMount == mount) return FindHomeTrash(*place, folderPath, mount, make, found);
    }
    return FindTopTrash(folderPath, mount, make, found);
}

}  // namespace

std::string HomeTrashFolder() {
    const std::optional<HomeTrashPlace> place = HomeTrashPlaceNow();
    if (!place) return std::string();
    std::string folder = place->base;
    for (const std::string& level : place->levels) folder = Below(folder, level);
    return folder;
}

MountIdentity MountOfStatx(const struct statx& sx) {
    MountIdentity id;
    id.device = (static_cast<std::uint64_t>(sx.stx_dev_major) << 32) | sx.stx_dev_minor;
    if (sx.stx_mask & STATX_MNT_ID) id.mount = sx.stx_mnt_id;
    return id;
}

std::optional<MountIdentity> MountOf(int dirFd, const std::string& name) {
    return MountAt(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW | (name.empty() ? AT_EMPTY_PATH : 0));
}

TrashVerdict LookForTrash(const std::string& folderPath, const MountIdentity& mount) {
    FoundTrash found;
    return FindTrash(folderPath, mount, false, found);
}

std::optional<Trash> Trash::For(const std::string& folderPath, const MountIdentity& mount, int& error) {
    FoundTrash found;
    const TrashVerdict verdict = FindTrash(folderPath, mount, true, found);
    if (verdict.block != MoveBlock::None) {
        error = verdict.systemError;
        return std::nullopt;
    }
    return Trash(std::move(found.folder), std::move(found.topdir), std::move(found.files), std::move(found.info));
}

}  // namespace kx
