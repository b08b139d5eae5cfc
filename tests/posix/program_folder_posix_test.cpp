// The program's folder decides where the Windows program's projects go: a
// /proc that cannot tell (not mounted, as in some containers) is an error, as
// a path the Windows side cannot hold whole is there, never "./".
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>

#include "SystemHost.h"
#include "posix/InChild.h"

namespace kx {
namespace {

// Runs what in a child with an empty /proc; what it reports, or "skip:".
std::string WithoutProc(std::string (*what)()) {
    return test::RunInChild([what]() -> std::string {
               if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                   ::mount("tmpfs", "/proc", "tmpfs", 0, "size=16k") != 0) {
                   return "skip:cannot hide /proc here";
               }
               return what();
           })
        .text;
}

TEST(ProgramFolder, WithoutProcItIsAnErrorNotTheCurrentFolder) {
    EXPECT_EQ(SystemHost::ExecutableFolder().back(), '/');
    const std::string outcome = WithoutProc([]() -> std::string {
        try {
            return "folder:" + std::string(BytesOf(SystemHost::ExecutableFolder()));
        } catch (const KxError& error) {
            return "error:" + std::string(BytesOf(error.Message()));
        }
    });
    if (outcome.rfind("skip:", 0) == 0) GTEST_SKIP() << outcome.substr(5);
    EXPECT_EQ(outcome, "error:Cannot find the program's folder: /proc/self/exe: No such file or directory");
}

}  // namespace
}  // namespace kx
