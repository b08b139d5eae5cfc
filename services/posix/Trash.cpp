#include "Trash.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace kx {

namespace {

constexpr char kInfoSuffix[] = ".trashinfo";
constexpr std::size_t kInfoSuffixLength = sizeof kInfoSuffix - 1;
// "." and the decimal digits of the largest number.
constexpr std::size_t kNumberRoom = 1 + 20;
// Names taken by others between our listing and our creation: a few more tries.
constexpr int kRaceRetries = 64;

std::optional<MountIdentity> MountAt(int dirFd, const char* name, int flags) {
    struct statx sx {};
    if (::statx(dirFd, name, flags, STATX_MNT_ID, &sx) != 0) return std::nullopt;
    MountIdentity id;
    id.device = (static_cast<std::uint64_t>(sx.stx_dev_major) << 32) | sx.stx_dev_minor;
    if (sx.stx_mask & STATX_MNT_ID) id.mount = sx.stx_mnt_id;
    return id;
}

FileDescriptor OpenRealFolder(int dirFd, const char* name) {
    return FileDescriptor(::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// mkdir with mode 0700 unless it exists, then open it without following a link.
FileDescriptor MakeRealFolder(int dirFd, const char* name) {
    if (::mkdirat(dirFd, name, 0700) != 0 && errno != EEXIST) return FileDescriptor();
    return OpenRealFolder(dirFd, name);
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
        path += "/" + level;
        const std::optional<MountIdentity> deeper = MountAt(AT_FDCWD, path.c_str(), 0);
        if (!deeper) break;
        mount = deeper;
    }
    return mount;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool RenameWithoutReplacing(int fromFd, const std::string& from, int toFd, const std::string& to) {
    if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: look first, as closely as it allows.
    struct stat st {};
    if (::fstatat(toFd, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(fromFd, from.c_str(), toFd, to.c_str()) == 0;
}

}  // namespace

std::string PercentEncodePath(const std::string& path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (unsigned char c : path) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                          c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
        if (keep) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

std::string TrashInfoText(const std::string& path, const std::tm& localTime) {
    char date[64] = {};
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &localTime);
    return "[Trash Info]\nPath=" + PercentEncodePath(path) + "\nDeletionDate=" + date + "\n";
}

std::string HomeTrashFolder() {
    const std::optional<HomeTrashPlace> place = HomeTrashPlaceNow();
    if (!place) return std::string();
    std::string folder = place->base;
    for (const std::string& level : place->levels) folder += folder == "/" ? level : "/" + level;
    return folder;
}

std::optional<MountIdentity> MountOf(int dirFd, const std::string& name) {
    return MountAt(dirFd, name.c_str(), AT_SYMLINK_NOFOLLOW | (name.empty() ? AT_EMPTY_PATH : 0));
}

std::string TrashEntryName(const std::string& name, unsigned long number, std::size_t nameMax) {
    if (number == 0) return name;
    const std::size_t room = nameMax > kInfoSuffixLength + kNumberRoom ? nameMax - kInfoSuffixLength - kNumberRoom : 1;
    std::size_t keep = name.size() < room ? name.size() : room;
    while (keep > 0 && keep < name.size() && IsContinuationByte(name[keep])) --keep;
    return name.substr(0, keep) + "." + std::to_string(number);
}

Trash::Trash(std::string folder, std::string topdir, FileDescriptor files, FileDescriptor info)
    : folder_(std::move(folder)), topdir_(std::move(topdir)), files_(std::move(files)), info_(std::move(info)) {
    const long limit = ::fpathconf(info_.Get(), _PC_NAME_MAX);
    if (limit > 0) nameMax_ = static_cast<std::size_t>(limit);
}

std::optional<Trash> Trash::For(const std::string& folderPath, const MountIdentity& mount) {
    if (folderPath.empty() || folderPath[0] != '/') return std::nullopt;

    // The home trash, when it is on the folder's own mount. A home trash
    // that cannot even be looked at is no reason to go elsewhere: the user
    // would not find the files there.
    if (const std::optional<HomeTrashPlace> place = HomeTrashPlaceNow()) {
        const std::optional<MountIdentity> homeMount = HomeTrashMount(*place);
        if (!homeMount) return std::nullopt;
        if (*homeMount == mount) {
            FileDescriptor level(::open(place->base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            std::string folder = place->base;
            for (const std::string& name : place->levels) {
                if (!level) break;
                if (::mkdirat(level.Get(), name.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
                level.Reset(::openat(level.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                folder += folder == "/" ? name : "/" + name;
            }
            if (!level) return std::nullopt;
            FileDescriptor files = MakeRealFolder(level.Get(), "files");
            FileDescriptor info = MakeRealFolder(level.Get(), "info");
            if (!files || !info) return std::nullopt;
            // The same mount, checked again now that the folders stand.
            const std::optional<MountIdentity> filesMount = MountOf(files.Get(), "");
            if (!filesMount || *filesMount != mount) return std::nullopt;
            return Trash(folder, std::string(), std::move(files), std::move(info));
        }
    }

    // The trash in the top folder of the folder's mount.
    const std::string topdir = TopFolderOf(folderPath, mount);
    FileDescriptor top(::open(topdir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!top) return std::nullopt;
    const std::optional<MountIdentity> topMount = MountOf(top.Get(), "");
    if (!topMount || *topMount != mount) return std::nullopt;
    const std::string uid = std::to_string(::geteuid());
    const std::string prefix = topdir == "/" ? std::string() : topdir;

    std::string folder;
    FileDescriptor trash;
    struct stat shared {};
    // An administrator's .Trash counts only as a real folder with the sticky
    // bit; a link there could lead anywhere.
    if (::fstatat(top.Get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(shared.st_mode) &&
        (shared.st_mode & S_ISVTX) != 0) {
        FileDescriptor sharedFd = OpenRealFolder(top.Get(), ".Trash");
        if (sharedFd) trash = MakeRealFolder(sharedFd.Get(), uid.c_str());
        if (trash && IsPrivateFolder(trash.Get())) {
            folder = prefix + "/.Trash/" + uid;
        } else {
            trash.Reset();
        }
    }
    if (!trash) {
        const std::string own = ".Trash-" + uid;
        trash = MakeRealFolder(top.Get(), own.c_str());
        if (!trash || !IsPrivateFolder(trash.Get())) return std::nullopt;
        folder = prefix + "/" + own;
    }
    FileDescriptor files = MakeRealFolder(trash.Get(), "files");
    FileDescriptor info = MakeRealFolder(trash.Get(), "info");
    if (!files || !info) return std::nullopt;
    return Trash(folder, topdir, std::move(files), std::move(info));
}

std::string Trash::FreeName(const std::string& name) {
    if (!listed_) {
        // One listing of info/: every name is then chosen in memory.
        const int copy = ::fcntl(info_.Get(), F_DUPFD_CLOEXEC, 0);
        if (DIR* dir = copy >= 0 ? ::fdopendir(copy) : nullptr) {
            while (const dirent* entry = ::readdir(dir)) {
                const std::string file = entry->d_name;
                if (file.size() > kInfoSuffixLength &&
                    file.compare(file.size() - kInfoSuffixLength, kInfoSuffixLength, kInfoSuffix) == 0) {
                    taken_.insert(file.substr(0, file.size() - kInfoSuffixLength));
                }
            }
            ::closedir(dir);
        } else if (copy >= 0) {
            ::close(copy);
        }
        listed_ = true;
    }
    if (name.size() + kInfoSuffixLength <= nameMax_ && taken_.count(name) == 0) return name;

    // The highest number in use for this (cut) name, plus one.
    const std::string stem = TrashEntryName(name, 1, nameMax_);
    const std::string prefix = stem.substr(0, stem.size() - 1);  // up to and with the dot
    unsigned long highest = 1;
    for (auto it = taken_.lower_bound(prefix); it != taken_.end() && it->compare(0, prefix.size(), prefix) == 0; ++it) {
        const std::string digits = it->substr(prefix.size());
        if (digits.empty() || digits.size() > 19 || digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const unsigned long number = std::stoul(digits);
        if (number > highest) highest = number;
    }
    return TrashEntryName(name, highest + 1, nameMax_);
}

bool Trash::Move(int parentFd, const std::string& parentPath, const std::string& name) {
    std::string original = parentPath == "/" ? "/" + name : parentPath + "/" + name;
    if (!topdir_.empty()) {
        // Top-folder trashes keep the path relative to their top folder.
        if (topdir_ == "/") {
            original.erase(0, 1);
        } else if (original.compare(0, topdir_.size() + 1, topdir_ + "/") == 0) {
            original.erase(0, topdir_.size() + 1);
        }
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string info = TrashInfoText(original, local);

    for (int attempt = 0; attempt < kRaceRetries; ++attempt) {
        const std::string candidate = FreeName(name);
        taken_.insert(candidate);
        const std::string infoName = candidate + kInfoSuffix;
        // The info file is made first and exclusively: it reserves the name.
        FileDescriptor infoFile(
            ::openat(info_.Get(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!infoFile) {
            if (errno == EEXIST) continue;
            return false;
        }
        // Complete on disk before anything moves: on a full disk it fails here.
        const bool written = WriteAll(infoFile.Get(), info.data(), info.size()) && ::fsync(infoFile.Get()) == 0;
        const bool closed = infoFile.Close();
        if (written && closed && RenameWithoutReplacing(parentFd, name, files_.Get(), candidate)) return true;
        const int error = errno;
        ::unlinkat(info_.Get(), infoName.c_str(), 0);
        if (written && closed && error == EEXIST) continue;  // a file without info holds the name
        errno = error;
        return false;
    }
    return false;
}

}  // namespace kx
