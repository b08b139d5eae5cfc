// The generation lock on POSIX: flock() on the lock file. The file is
// removed by its holder before the lock is let go; whoever then gets the
// lock on the removed file sees that the path names another file (or none)
// and tries again on the new one.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GenerationLock.h"
#include "PathRules.h"
#include "PathSplit.h"
#include "PosixFiles.h"

namespace kx {

namespace {

constexpr int kReopenAttempts = 16;

}  // namespace

GenerationLock GenerationLock::Take(const AnsiString& folder) {
    const AnsiString path = folder + kPathSeparator + kGenerationLockName;
    if (!IsIntactAnsiPath(folder)) return GenerationLock(LockState::Failed, -1, path, EINVAL);
    const std::string native = NativePath(path);
    for (int attempt = 0; attempt < kReopenAttempts; ++attempt) {
        // Read-only is enough for flock, and lets every user of a shared
        // folder open a lock file that someone else made. Never a link, never
        // a FIFO to hang on.
        FileDescriptor fd(::open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!fd && errno == ENOENT) {
            fd.Reset(::open(native.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
            if (!fd && errno == EEXIST) continue;
            if (fd) ::fchmod(fd.Get(), 0644);  // readable for the other users whatever the umask; no harm if not
        }
        if (!fd) return GenerationLock(LockState::Failed, -1, path, errno);
        struct stat st {};
        if (::fstat(fd.Get(), &st) != 0) return GenerationLock(LockState::Failed, -1, path, errno);
        if (!S_ISREG(st.st_mode)) return GenerationLock(LockState::Failed, -1, path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            const bool busy = error == EWOULDBLOCK;
            return GenerationLock(busy ? LockState::Busy : LockState::Failed, -1, path, busy ? 0 : error);
        }
        struct stat now {};
        if (::lstat(native.c_str(), &now) == 0 && now.st_dev == st.st_dev && now.st_ino == st.st_ino) {
            return GenerationLock(LockState::Held, fd.Release(), path);
        }
        // The holder before us removed it: the lock is on the new file, if any.
    }
    return GenerationLock(LockState::Busy, -1, path);
}

GenerationLock::GenerationLock(GenerationLock&& other) noexcept
    : state_(other.state_), handle_(other.handle_), path_(std::move(other.path_)), systemError_(other.systemError_) {
    other.handle_ = -1;
}

GenerationLock::~GenerationLock() {
    if (handle_ < 0) return;
    // Removed while still held, so nobody can lock the old file and find it
    // still named (see Take). A lock file that another user made in a shared
    // folder may not be ours to remove; it then stays, unlocked.
    ::unlink(NativePath(path_).c_str());
    ::close(static_cast<int>(handle_));
}

}  // namespace kx
