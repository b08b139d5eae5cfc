// The program's folder decides where the Windows program's projects go: a
// /proc that cannot tell (not mounted, as in some containers) is an error, as
// a path the Windows side cannot hold whole is there, never "./".
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "SystemHost.h"
#include "posix/PosixFiles.h"

namespace kx {
namespace {

// Runs what in a child with an empty /proc; what it reports, or "skip:".
std::string WithoutProc(std::string (*what)()) {
    int report[2];
    if (::pipe(report) != 0) return "skip:no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        std::string outcome;
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", "/proc", "tmpfs", 0, "size=16k") != 0) {
            outcome = "skip:cannot hide /proc here";
        } else {
            outcome = what();
        }
        ::_exit(WriteAll(report[1], outcome.data(), outcome.size()) ? 0 : 1);
    }
    ::close(report[1]);
    std::string outcome;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(report[0], buffer, sizeof buffer)) > 0) outcome.append(buffer, static_cast<std::size_t>(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return outcome;
}

TEST(ProgramFolder, WithoutProcItIsAnErrorNotTheCurrentFolder) {
    EXPECT_EQ(SystemHost::ExecutableFolder().back(), '/');
    const std::string outcome = WithoutProc([]() -> std::string {
        try {
            return "folder:" + SystemHost::ExecutableFolder();
        } catch (const KxError& error) {
            return "error:" + error.Message();
        }
    });
    if (outcome.rfind("skip:", 0) == 0) GTEST_SKIP() << outcome.substr(5);
    EXPECT_EQ(outcome, "error:Cannot find the program's folder: /proc/self/exe: No such file or directory");
}

}  // namespace
}  // namespace kx
