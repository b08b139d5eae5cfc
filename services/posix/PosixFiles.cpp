#include "PosixFiles.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Gbk.h"
#include "PathRules.h"
#include "TextContent.h"

namespace kx {

std::string NativePath(const AnsiString& path) {
    // Only '/' separates here: a backslash is a character of a name on POSIX.
    // Each component is converted by itself, so that a stray lead byte
    // before a slash cannot swallow it. '/' is never the second byte of a
    // GBK character.
    std::string native;
    native.reserve(path.size() + path.size() / 2);
    std::size_t start = 0;
    for (std::size_t slash = path.find('/'); slash != AnsiString::npos; slash = path.find('/', start)) {
        if (slash > start) native += Utf8FromAnsi(path.substr(start, slash - start));
        native += '/';
        start = slash + 1;
    }
    if (start < path.size()) native += Utf8FromAnsi(path.substr(start));
    return native;
}

namespace {

// The error for an existing entry that is no regular file: a link is never
// followed, and a folder, device, FIFO or socket is never opened for writing
// (opening some devices does something by itself).
int NotARegularFileError(mode_t mode) {
    if (S_ISLNK(mode)) return ELOOP;
    if (S_ISDIR(mode)) return EISDIR;
    if (S_ISFIFO(mode)) return ENXIO;
    return EPERM;
}

FileDescriptor Refused(int error) {
    errno = error;
    return FileDescriptor();
}

}  // namespace

FileDescriptor CreateAlways(const AnsiString& path, FileAccess access) {
    // A project written here must copy to Windows: refuse what Windows refuses,
    // and a path the ANSI calls would take for another one.
    if (!IsIntactAnsiPath(path) || !IsWindowsCreatableName(LastPathComponent(path))) return Refused(EINVAL);
    const std::string native = NativePath(path);
    const int mode = (access == FileAccess::ReadWrite ? O_RDWR : O_WRONLY) | O_NOFOLLOW | O_CLOEXEC;

    // A new file first, so that a file we create ourselves is never refused.
    // With O_EXCL a link in the way is never followed.
    FileDescriptor fd(::open(native.c_str(), mode | O_CREAT | O_EXCL, 0666));
    if (fd || errno != EEXIST) return fd;

    // An existing one: only a regular file is ever opened, then looked at
    // again through the descriptor (it may have been swapped in between),
    // and only then truncated. O_NONBLOCK keeps a FIFO swapped in from
    // hanging the open; it is cleared again at once.
    struct stat before {};
    if (::lstat(native.c_str(), &before) != 0) return fd;
    if (!S_ISREG(before.st_mode)) return Refused(NotARegularFileError(before.st_mode));
    fd.Reset(::open(native.c_str(), mode | O_NONBLOCK));
    if (!fd) return fd;
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    struct stat st {};
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0 || ::fstat(fd.Get(), &st) != 0) {
        const int error = errno;
        fd.Reset();
        return Refused(error);
    }
    if (!S_ISREG(st.st_mode) || st.st_dev != before.st_dev || st.st_ino != before.st_ino) {
        fd.Reset();
        return Refused(S_ISREG(st.st_mode) ? EAGAIN : NotARegularFileError(st.st_mode));
    }
    // Windows refuses to open a read-only file for writing. Root may write
    // to any file here, so the write permission bits stand in for the
    // read-only attribute: a regular file with none of them is refused as
    // Windows refuses a read-only file, for root and everyone else.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        fd.Reset();
        return Refused(EACCES);
    }
    if (::ftruncate(fd.Get(), 0) != 0) {
        const int error = errno;
        fd.Reset();
        return Refused(error);
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
    if (!path.empty() && path[0] == '/') return path;
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

std::string SystemErrorUtf8(int error) {
    char buffer[256] = {};
    const char* text = StrErrorText(::strerror_r(error, buffer, sizeof buffer), buffer);
    // What is trimmed is ASCII: trimmed before or after the conversion alike.
    return text == nullptr ? std::string() : std::string(text, TrimmedSystemErrorLength(text, std::strlen(text)));
}

AnsiString SystemErrorText(int error) { return AnsiFromUtf8(SystemErrorUtf8(error)); }

}  // namespace kx
