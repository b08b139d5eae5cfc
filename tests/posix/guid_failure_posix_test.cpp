// POSIX: a GUID that cannot be made ends the press through the error display
// before anything is written: it is made while the run is planned. The
// machine is made to lack every random source in a child process: getrandom
// refused by a seccomp filter, /dev/urandom covered by an empty file in a
// mount namespace of its own.
#include <gtest/gtest.h>
#include <errno.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <stddef.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "GenerateProject.h"
#include "OutcomeTable.h"
#include "Texts.h"
#include "posix/InChild.h"
#include "posix/PosixFiles.h"
#include "posix/ScopedEnvironment.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace kx {
namespace {


bool RefuseGetrandom() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_getrandom, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST(GuidFailure, NoRandomSourceEndsThePressWithTheErrorBeforeAnythingIsWritten) {
    test::TempFolder temp;
    test::ScopedEnvironment env;
    env.Set("XDG_DATA_HOME", NativePath(temp.Child("xdg")));
    const AnsiString root = temp.Child(texts::kOutputRootName);
    const AnsiString empty = temp.Child("empty");
    ASSERT_TRUE(test::WriteFileBytes(empty, ""));
    const std::string emptyNative = NativePath(empty);

    const std::string outcome = test::RunInChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(emptyNative.c_str(), "/dev/urandom", nullptr, MS_BIND, nullptr) != 0 || !RefuseGetrandom()) {
            return "skip:cannot take the random sources away here";
        }
        test::ScriptedDialogs dialogs;
        dialogs.promptAnswers = {AnsiString("demo")};
        test::FixedHost host(root);
        const GenerationOutcome ended = GenerateProject(dialogs, host);
        const OutcomeReport shown = ReportFor(ended);
        if (ended.kind != OutcomeKind::PlanFailed || shown.notice != Notice::ErrorDisplay) {
            return "ended as kind " + std::to_string(static_cast<int>(ended.kind));
        }
        return "error:" + std::string(BytesOf(shown.text)) + (host.opened.empty() ? "" : " (opened)");
    }).text;
    if (outcome.rfind("skip:", 0) == 0) GTEST_SKIP() << outcome.substr(5);

    EXPECT_EQ(outcome, "error:Cannot create a GUID: no random source");
    EXPECT_EQ(test::ListFolder(root), std::vector<AnsiString>{}) << "not even the project folder";
}

}  // namespace
}  // namespace kx
