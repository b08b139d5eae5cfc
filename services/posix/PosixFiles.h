// The POSIX side of the ANSI file calls: paths are ANSI (GBK) byte strings in
// the program and UTF-8 at the operating-system boundary, as the Windows ANSI
// calls convert them to UTF-16.
#pragma once

#include <unistd.h>

#include <string>

#include "NativePath.h"
#include "UniqueHandle.h"
#include "UnitFunction.h"

namespace kx {

struct FileDescriptorTraits {
    using Handle = int;
    static Handle Invalid() noexcept { return -1; }
    static bool Close(Handle fd) noexcept { return ::close(fd) == 0; }
};
using FileDescriptor = UniqueHandle<FileDescriptorTraits>;


// How a file is opened, after CreateFileA's access argument.
enum class FileAccess { WriteOnly, ReadWrite };

// Creates the file, or opens and truncates to length 0 an existing regular
// file, as CreateFileA with CREATE_ALWAYS does; links are never followed and
// nothing but a regular file is ever opened. Returns an invalid descriptor
// with errno set when it cannot: EINVAL for a path that is not intact or a
// final name Windows cannot create (PathRules.h), EACCES for an existing
// regular file without any write permission bit (a read-only file, also for
// root), ELOOP for a symbolic link, EISDIR for a folder, ENXIO for a FIFO,
// EPERM for a device or socket, otherwise the error of open.
FileDescriptor CreateAlways(const AnsiString& path, FileAccess access);

// Writes all bytes, going on after partial writes; false on an error or when
// the file takes no more bytes.
bool WriteAll(int fd, const void* data, std::size_t size);

// The path made absolute against the current folder (lexically, as
// GetFullPathNameA does not resolve links either): an absolute path as passed.
AnsiString FullPathForMessage(const AnsiString& path);

// strerror's text for the code (UTF-8, in this thread's locale), trimmed as
// FormatMessageA's text is.
std::string SystemErrorUtf8(int error);

// The same text in ANSI.
AnsiString SystemErrorText(int error);

}  // namespace kx
