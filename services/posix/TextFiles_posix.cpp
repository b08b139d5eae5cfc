// The text writers' platform half on POSIX: CP936 decoding and file creation.
#include <errno.h>

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

}  // namespace kx
