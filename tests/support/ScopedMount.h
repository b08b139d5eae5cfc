// POSIX tests: a mount made for one test and taken away again, for the cases
// that only another file system shows (another device, a bind mount that
// rename() cannot cross, a disk that fills up). Mounting needs root; where it
// is not allowed, Reason() says why and the test skips.
//
// The first mount takes the test process into a mount namespace of its own,
// with every mount private: nothing a test mounts is seen outside it, and
// nothing is left mounted on the machine when the process dies.
#pragma once

#include <errno.h>
#include <sched.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <string>

namespace kx::test {

class ScopedMount {
public:
    // A tmpfs of the given size ("64k", "2m") at the existing folder at.
    static ScopedMount Tmpfs(const std::string& at, const std::string& size, unsigned long flags = 0) {
        if (const int error = PrivateNamespaceError()) return ScopedMount(at, error);
        const std::string options = "size=" + size + ",mode=0755";
        return ScopedMount(at, ::mount("tmpfs", at.c_str(), "tmpfs", flags, options.c_str()) == 0 ? 0 : errno);
    }
    // The folder or file from shown again at the existing folder or file at.
    static ScopedMount Bind(const std::string& from, const std::string& at) {
        if (const int error = PrivateNamespaceError()) return ScopedMount(at, error);
        return ScopedMount(at, ::mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) == 0 ? 0 : errno);
    }

    ScopedMount(ScopedMount&& other) noexcept : at_(other.at_), mounted_(other.mounted_), reason_(other.reason_) {
        other.mounted_ = false;
    }
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;
    ~ScopedMount() {
        if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
    }

    bool Mounted() const { return mounted_; }
    const std::string& Reason() const { return reason_; }

private:
    // 0 once the process has a mount namespace of its own, else why not.
    static int PrivateNamespaceError() {
        static const int error =
            ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 ? 0 : errno;
        return error;
    }

    ScopedMount(std::string at, int error) : at_(std::move(at)), mounted_(error == 0) {
        if (!mounted_) reason_ = "cannot mount at " + at_ + ": " + ::strerror(error);
    }
    std::string at_;
    bool mounted_;
    std::string reason_;
};

}  // namespace kx::test
