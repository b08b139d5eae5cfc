// NewGuidText without COM: a version-4 GUID from the kernel's random source.
#include <errno.h>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include "GuidText.h"
#include "PosixFiles.h"
#include "UnitFunction.h"

namespace kx {

namespace {

bool FillFromGetrandom(unsigned char* buffer, std::size_t size) {
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ::getrandom(buffer + filled, size - filled, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        filled += static_cast<std::size_t>(n);
    }
    return true;
}

bool FillFromUrandom(unsigned char* buffer, std::size_t size) {
    FileDescriptor fd(::open("/dev/urandom", O_RDONLY | O_CLOEXEC));
    if (!fd) return false;
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t n = ::read(fd.Get(), buffer + filled, size - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        filled += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

AnsiString NewGuidText() {
    unsigned char bytes[16] = {};
    if (!FillFromGetrandom(bytes, sizeof bytes) && !FillFromUrandom(bytes, sizeof bytes)) {
        // Two projects must never share an identifier: no guessable fallback.
        throw KxError("Cannot create a GUID: no random source");
    }
    return FormatGuidText(RandomGuid(bytes));
}

}  // namespace kx
