// The text writers' platform half on POSIX: CP936 decoding and file creation.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CodePage.h"
#include "FileWriting.h"
#include "PosixFiles.h"
#include "TextContent.h"

namespace kx {

WideString AnsiToWideText(const AnsiString& text) {
    // Decode from the system ANSI code page (CP936, precomposed by nature) and
    // stop at the first U+0000.
    return UpToFirstZeroUnit(DecodeAnsi(text, AnsiPage::System));
}

void WriteWholeFile(const AnsiString& path, const std::string& content) {
    // GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS. POSIX has no share modes;
    // the open is exclusive only in the sense that nobody is told about it.
    FileDescriptor file = CreateAlways(path, FileAccess::ReadWrite);
    if (!file) {
        const int error = errno;
        throw EFCreateError(FullPathForMessage(path), SystemErrorText(error));
    }
    const bool written = content.empty() || WriteAll(file.Get(), content.data(), content.size());
    // A failing close can mean data that never reached the disk (NFS, quotas):
    // that is a short write as well.
    const bool closed = file.Close();
    if (!written || !closed) throw EWriteError(FullPathForMessage(path));
}

void WriteWholeFileAtomically(const AnsiString& path, const std::vector<std::string_view>& pieces) {
    const AnsiString temporary = path + kTemporaryFileSuffix;
    FileDescriptor file = CreateAlways(temporary, FileAccess::ReadWrite);
    if (!file) {
        const int error = errno;
        throw EFCreateError(FullPathForMessage(temporary), SystemErrorText(error));
    }
    const std::string nativeTemporary = NativePath(temporary);
    const std::string nativePath = NativePath(path);
    struct stat st {};
    const bool replacing = ::lstat(nativePath.c_str(), &st) == 0;
    bool ok = true;
    for (const std::string_view piece : pieces) {
        ok = ok && (piece.empty() || WriteAll(file.Get(), piece.data(), piece.size()));
    }
    if (replacing) ok = ::fsync(file.Get()) == 0 && ok;
    ok = file.Close() && ok;
    if (!ok) {
        ::unlink(nativeTemporary.c_str());
        throw EWriteError(FullPathForMessage(path));
    }
    // rename() replaces a file or a link at path as itself, never what a link points to.
    if (::rename(nativeTemporary.c_str(), nativePath.c_str()) != 0) {
        const int error = errno;
        ::unlink(nativeTemporary.c_str());
        throw EFCreateError(FullPathForMessage(path), SystemErrorText(error));
    }
}

}  // namespace kx
