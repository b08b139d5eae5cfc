#include "PosixFiles.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include <vector>

#include "CodePage.h"
#include "Gbk.h"
#include "PathRules.h"
#include "TextContent.h"

namespace kx {

std::string NativePath(const AnsiString& path) {
    std::string native;
    native.reserve(path.size() + path.size() / 2);
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
        if (end > start) native += Utf8FromAnsi(path.substr(start, end - start));
    };
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t len = GbkCharLength(path, pos);
        if (len == 1 && (path[pos] == '\\' || path[pos] == '/')) {
            flush(pos);
            native += '/';
            start = pos + 1;
        }
        pos += len;
    }
    flush(path.size());
    return native;
}

FileDescriptor CreateAlways(const AnsiString& path, FileAccess access) {
    // A project written here must copy to Windows: refuse what Windows refuses,
    // and a path the ANSI calls would take for another one.
    if (!IsIntactAnsiPath(path) || !IsWindowsCreatableName(LastPathComponent(path))) {
        errno = EINVAL;
        return FileDescriptor();
    }
    const std::string native = NativePath(path);
    const int mode = (access == FileAccess::ReadWrite ? O_RDWR : O_WRONLY) | O_CLOEXEC;

    // A new file first, so that a file we create ourselves is never refused.
    FileDescriptor fd(::open(native.c_str(), mode | O_CREAT | O_EXCL, 0666));
    if (fd || errno != EEXIST) return fd;

    // An existing one: open it without truncating, look at it, then truncate.
    // O_NONBLOCK keeps a FIFO without a reader from hanging the open (it
    // fails instead, as there is nothing to create a file in); it is
    // cleared again at once so that writes block as usual.
    fd.Reset(::open(native.c_str(), mode | O_NONBLOCK));
    if (!fd) return fd;
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    struct stat st {};
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0 || ::fstat(fd.Get(), &st) != 0) {
        const int error = errno;
        fd.Reset();
        errno = error;
        return fd;
    }
    if (S_ISFIFO(st.st_mode) && access == FileAccess::ReadWrite) {
        // Opened for reading too, the FIFO always has a reader, this process:
        // what is written would be lost, and more than the pipe holds would
        // block for ever. As without a reader, there is no file to write.
        fd.Reset();
        errno = ENXIO;
        return fd;
    }
    if (S_ISREG(st.st_mode)) {
        // Windows refuses to open a read-only file for writing. Root may write
        // to any file here, so the write permission bits stand in for the
        // read-only attribute: a regular file with none of them is refused
        // as Windows refuses a read-only file, for root and everyone else.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            fd.Reset();
            errno = EACCES;
            return fd;
        }
        if (::ftruncate(fd.Get(), 0) != 0) {
            const int error = errno;
            fd.Reset();
            errno = error;
            return fd;
        }
    }
    return fd;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

AnsiString FullPathForMessage(const AnsiString& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return path;
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20)) return path;
        buffer.resize(buffer.size() * 2);
    }
    AnsiString folder = AnsiFromUtf8(buffer.data());
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + path;
}

namespace {
// The two forms of strerror_r: GNU returns the text, POSIX fills the buffer.
[[maybe_unused]] const char* StrErrorText(int result, const char* buffer) { return result == 0 ? buffer : ""; }
[[maybe_unused]] const char* StrErrorText(const char* result, const char*) { return result; }
}  // namespace

AnsiString SystemErrorText(int error) {
    char buffer[256] = {};
    const char* text = StrErrorText(::strerror_r(error, buffer, sizeof buffer), buffer);
    const AnsiString ansi = AnsiFromUtf8(text ? text : "");
    return TrimSystemErrorText(ansi.data(), ansi.size());
}

}  // namespace kx
