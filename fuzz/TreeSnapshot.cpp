#include "TreeSnapshot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kx::fuzz {

namespace {

std::string ReadAll(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return "<unreadable>";
    char buffer[8192];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return bytes;
}

void Walk(const std::string& root, const std::string& relative, TreeSnapshot& out) {
    const std::string path = relative.empty() ? root : root + "/" + relative;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;
    EntryState& state = out[relative];
    state.mode = st.st_mode;
    // A folder's size and time change whenever an entry comes or goes; its
    // entries are recorded one by one, which says more.
    if (!S_ISDIR(st.st_mode)) {
        state.size = st.st_size;
        state.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    }
    if (S_ISREG(st.st_mode)) {
        state.content = ReadAll(path);
    } else if (S_ISLNK(st.st_mode)) {
        char target[4096];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n > 0) state.content.assign(target, static_cast<std::size_t>(n));
    } else if (S_ISDIR(st.st_mode)) {
        DIR* dir = ::opendir(path.c_str());
        if (dir == nullptr) return;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            Walk(root, relative.empty() ? name : relative + "/" + name, out);
        }
        ::closedir(dir);
    }
}

}  // namespace

TreeSnapshot SnapshotTree(const std::string& root) {
    TreeSnapshot out;
    Walk(root, "", out);
    return out;
}

}  // namespace kx::fuzz
