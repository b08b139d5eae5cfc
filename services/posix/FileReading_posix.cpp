#include "FileReading.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "PathRules.h"
#include "PosixFiles.h"

namespace kx {

FileContents ReadFileContents(const AnsiString& path) {
    FileContents contents;
    if (!IsIntactAnsiPath(path)) {
        contents.outcome = ReadOutcome::Failed;
        return contents;
    }
    // O_NONBLOCK: a FIFO in the folder must not hang the read; a regular file ignores it.
    FileDescriptor fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        contents.outcome = errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
        return contents;
    }
    contents.outcome = ReadOutcome::Failed;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return contents;
    // Room for the whole file at once: a string that doubled its way up to a
    // large template would hold a third more, and both buffers while it grows.
    contents.bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            contents.bytes.clear();
            return contents;
        }
        if (got == 0) break;
        contents.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    contents.outcome = ReadOutcome::Read;
    return contents;
}

bool PathTaken(const AnsiString& path) {
    if (!IsIntactAnsiPath(path)) return false;
    struct stat st {};
    return ::lstat(NativePath(path).c_str(), &st) == 0;
}

}  // namespace kx
