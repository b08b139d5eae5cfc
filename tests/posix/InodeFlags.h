// POSIX tests: the inode flags that freeze a file or folder (chattr +i, +a),
// set and cleared as root may; false where the file system or the process
// cannot.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

namespace kx::test {

// Sets or clears flags (FS_IMMUTABLE_FL, FS_APPEND_FL) of a file or folder.
inline bool SetInodeFlags(const std::string& path, int flags, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int now = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &now) == 0;
    now = on ? (now | flags) : (now & ~flags);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &now) == 0;
    ::close(fd);
    return ok;
}

}  // namespace kx::test
