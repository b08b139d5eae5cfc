#include "Trash.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace kx {

namespace {

constexpr int kMaxCollisionSuffix = 10000;

// mkdir -p with mode 0700 for the levels it creates.
bool MakeFolders(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        const std::string prefix = path.substr(0, pos);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileDescriptor OpenFolder(const std::string& path) {
    return FileDescriptor(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
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

std::string TrashInfoText(const std::string& absolutePath, const std::tm& localTime) {
    char date[64] = {};
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &localTime);
    return "[Trash Info]\nPath=" + PercentEncodePath(absolutePath) + "\nDeletionDate=" + date + "\n";
}

std::string HomeTrashFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') return std::string(dataHome) + "/Trash";
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
        home = env;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
        home = pw->pw_dir;
    }
    if (home.empty()) return std::string();
    return home + "/.local/share/Trash";
}

std::optional<HomeTrash> HomeTrash::Open() {
    const std::string folder = HomeTrashFolder();
    if (folder.empty()) return std::nullopt;
    if (!MakeFolders(folder + "/files") || !MakeFolders(folder + "/info")) return std::nullopt;
    FileDescriptor files = OpenFolder(folder + "/files");
    FileDescriptor info = OpenFolder(folder + "/info");
    if (!files || !info) return std::nullopt;
    return HomeTrash(std::move(files), std::move(info));
}

bool HomeTrash::Move(int parentFd, const std::string& parentPath, const std::string& name) const {
    // The home trash takes entries of its own file system only; the rest is
    // for the caller to delete.
    struct stat entry {};
    struct stat files {};
    if (::fstatat(parentFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::fstat(files_.Get(), &files) != 0 || entry.st_dev != files.st_dev) {
        return false;
    }

    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string info = TrashInfoText(parentPath + "/" + name, local);

    for (int n = 1; n <= kMaxCollisionSuffix; ++n) {
        const std::string candidate = n == 1 ? name : name + "." + std::to_string(n);
        const std::string infoName = candidate + ".trashinfo";
        // The info file is made first and exclusively: it reserves the name.
        FileDescriptor infoFile(
            ::openat(info_.Get(), infoName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!infoFile) {
            if (errno == EEXIST) continue;
            return false;
        }
        struct stat existing {};
        if (::fstatat(files_.Get(), candidate.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
            infoFile.Reset();
            ::unlinkat(info_.Get(), infoName.c_str(), 0);
            continue;
        }
        const bool written = WriteAll(infoFile.Get(), info.data(), info.size());
        const bool closed = infoFile.Close();
        if (written && closed &&
            ::renameat(parentFd, name.c_str(), files_.Get(), candidate.c_str()) == 0) {
            return true;
        }
        ::unlinkat(info_.Get(), infoName.c_str(), 0);
        return false;
    }
    return false;
}

}  // namespace kx
