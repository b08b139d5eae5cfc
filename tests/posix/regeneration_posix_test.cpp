// POSIX: a regeneration keeps the old files (in the trash, or untouched where
// no trash can take them), never follows a link out of the project folder,
// and runs one at a time.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CodePage.h"
#include "GenerateProject.h"
#include "GenerationLock.h"
#include "Texts.h"
#include "posix/PosixFiles.h"
#include "posix/ScopedEnvironment.h"
#include "posix/TreeState.h"
#include "support/ScopedMount.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::DialogEvent;
using test::FirstDifference;
using test::Info;
using test::JoinPath;
using test::Prompt;
using test::Snapshot;
using test::Stop;

const AnsiString kDemoFile = "demo.kxproj";

class RegenerationTest : public test::WorkflowTest {
public:  // the tables stage their cases on the fixture
    std::vector<DialogEvent> PromptThen(const DialogEvent& box) const { return {Prompt("wpx2026_12_07"), box}; }
    std::string NativeTemp() const { return NativePath(temp.Path()); }
};

// ---- stopping before anything changes -------------------------------------

TEST_F(RegenerationTest, WhatCannotBeRegeneratedSafelyStopsWithItsMessageAndChangesNothing) {
    const AnsiString linkMessage = texts::kOpenQuote + AnsiString("demo") + texts::kLinkFolderTail;
    const AnsiString keptMessage = texts::kOpenQuote + AnsiString("demo") + texts::kOldFilesKeptTail;
    struct Case {
        const char* what;
        std::function<void(RegenerationTest&)> stage;  // after a first generation of demo elsewhere
        std::vector<DialogEvent> events;
    };
    const std::string elsewhere = "elsewhere";
    const Case cases[] = {
        {"the project folder is a link to another project",
         [&](RegenerationTest& t) {
             ASSERT_EQ(::rename(NativePath(JoinPath(t.outputRoot, "demo")).c_str(), t.temp.Child(elsewhere).c_str()), 0);
             ASSERT_EQ(::symlink(t.temp.Child(elsewhere).c_str(), NativePath(JoinPath(t.outputRoot, "demo")).c_str()), 0);
         },
         PromptThen(Stop(linkMessage))},
        {"the project folder is a dangling link",
         [&](RegenerationTest& t) {
             ASSERT_TRUE(test::RemoveTree(JoinPath(t.outputRoot, "demo")));
             ASSERT_EQ(::symlink(t.temp.Child("nowhere").c_str(), NativePath(JoinPath(t.outputRoot, "demo")).c_str()), 0);
         },
         PromptThen(Stop(linkMessage))},
        {"the project folder is a link to a file outside",
         [&](RegenerationTest& t) {
             ASSERT_TRUE(test::RemoveTree(JoinPath(t.outputRoot, "demo")));
             ASSERT_TRUE(test::WriteFileBytes(t.temp.Child("victim"), "precious"));
             ASSERT_EQ(::symlink(t.temp.Child("victim").c_str(), NativePath(JoinPath(t.outputRoot, "demo")).c_str()), 0);
         },
         PromptThen(Stop(linkMessage))},
        {"no trash can be made ($XDG_DATA_HOME is a file)",
         [](RegenerationTest& t) { ASSERT_TRUE(test::WriteFileBytes(t.temp.Child("xdg"), "not a folder")); }, {}},
        {"no trash can be made ($XDG_DATA_HOME below a file, no home)",
         [](RegenerationTest& t) {
             ASSERT_TRUE(test::WriteFileBytes(t.temp.Child("file"), "f"));
             t.env.Set("XDG_DATA_HOME", t.temp.Child("file/xdg"));
             t.env.Set("HOME", t.temp.Child("no-home"));
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegenerationTest& t = *this;
        test::RemoveTree(temp.Child(elsewhere));
        test::RemoveTree(temp.Child("xdg"));
        test::RemoveTree(temp.Child("file"));
        test::RemoveTree(temp.Child("victim"));
        test::RemoveTree(outputRoot);
        env.Set("XDG_DATA_HOME", temp.Child("xdg"));
        Generate("demo");
        ASSERT_EQ(host.opened.size(), 1u);
        ASSERT_TRUE(test::WriteFileBytes(JoinPath(JoinPath(outputRoot, "demo"), "mine.txt"), "my work"));
        c.stage(t);
        const auto before = Snapshot(NativeTemp());
        host.opened.clear();

        Generate("demo", true);
        // Found before the question: OK is never asked for.
        EXPECT_EQ(dialogs.events, c.events.empty() ? PromptThen(Stop(keptMessage)) : c.events);
        EXPECT_EQ(FirstDifference(before, Snapshot(NativeTemp())), "") << "changed";
        EXPECT_TRUE(host.opened.empty());
        EXPECT_EQ(outcome.oldFiles.place, OldFilesPlace::None);
    }
}

// ---- old files recoverable, on every kind of mount -------------------------

TEST_F(RegenerationTest, OldFilesGoToTheTrashOfTheirMountAndTheHostIsTold) {
    struct Case {
        const char* what;
        std::function<std::string(RegenerationTest&, std::vector<test::ScopedMount>&)> stage;  // "" when staged
        std::string trash;  // below temp
    };
    const std::string uid = std::to_string(::geteuid());
    const Case cases[] = {
        {"the home trash", [](RegenerationTest&, std::vector<test::ScopedMount>&) { return std::string(); },
         "xdg/Trash"},
        {"a project on a file system of its own",
         [](RegenerationTest& t, std::vector<test::ScopedMount>& mounts) {
             test::MakeFolder(t.temp.Child("disk"));
             mounts.push_back(test::ScopedMount::Tmpfs(t.temp.Child("disk"), "2m"));
             return mounts.back().Reason();
         },
         "disk/.Trash-" + uid},
        {"a project behind a bind mount on the same disk",
         [](RegenerationTest& t, std::vector<test::ScopedMount>& mounts) {
             test::MakeFolder(t.temp.Child("shown"));
             test::MakeFolder(t.temp.Child("disk"));
             mounts.push_back(test::ScopedMount::Bind(t.temp.Child("shown"), t.temp.Child("disk")));
             return mounts.back().Reason();
         },
         "disk/.Trash-" + uid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<test::ScopedMount> mounts;
        const std::string why = c.stage(*this, mounts);
        if (!why.empty()) {
            std::printf("skipped \"%s\": %s\n", c.what, why.c_str());
            continue;
        }
        const AnsiString root = c.trash == "xdg/Trash" ? temp.Child("home-root") : temp.Child("disk/root");
        test::FixedHost here(root);
        dialogs = {};
        dialogs.promptAnswers = {AnsiString("demo")};
        ASSERT_EQ(GenerateProject(dialogs, here).kind, OutcomeKind::Written);
        const AnsiString oldProject = test::ReadFileBytes(JoinPath(JoinPath(root, "demo"), kDemoFile)).value_or("");
        ASSERT_TRUE(test::WriteFileBytes(JoinPath(JoinPath(root, "demo"), "mine.txt"), "my work"));

        dialogs = {};
        dialogs.promptAnswers = {AnsiString("demo")};
        dialogs.questionAnswers = {true};
        const GenerationOutcome regenerated = GenerateProject(dialogs, here);
        const std::string trash = temp.Child(c.trash);
        EXPECT_EQ(here.opened.size(), 2u);
        EXPECT_EQ(regenerated.oldFiles.place, OldFilesPlace::Trash);
        EXPECT_EQ(regenerated.oldFiles.folder, trash + "/files");
        EXPECT_EQ(test::ReadFileBytes(trash + "/files/mine.txt").value_or("<missing>"), "my work");
        EXPECT_EQ(test::ReadFileBytes(trash + "/files/" + kDemoFile).value_or("<missing>"), oldProject);
        EXPECT_TRUE(test::FileExists(trash + "/info/mine.txt.trashinfo"));
        EXPECT_TRUE(test::FileExists(JoinPath(JoinPath(root, "demo"), kDemoFile)));
        EXPECT_FALSE(test::PathExists(JoinPath(JoinPath(root, "demo"), "mine.txt")));
        test::RemoveTree(trash);
        test::RemoveTree(root);
    }
}

TEST_F(RegenerationTest, ADiskThatFillsUpKeepsTheOldFilesAndTheErrorNamesTheFile) {
    ASSERT_TRUE(test::MakeFolder(temp.Child("disk")));
    test::ScopedMount disk = test::ScopedMount::Tmpfs(temp.Child("disk"), "1m");
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
    const AnsiString root = temp.Child("disk/root");
    test::FixedHost here(root);
    dialogs.promptAnswers = {AnsiString("demo")};
    ASSERT_EQ(GenerateProject(dialogs, here).kind, OutcomeKind::Written);
    const auto oldProject = Snapshot(NativePath(JoinPath(root, "demo")));

    // Room for the trash's three info files and a little more, not for a new project.
    const std::string filler = temp.Child("disk/filler");
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ASSERT_EQ(::ftruncate(fd, ::lseek(fd, 0, SEEK_END) - 4 * 4096), 0);
    ::close(fd);

    dialogs = {};
    dialogs.promptAnswers = {AnsiString("demo")};
    dialogs.questionAnswers = {true};
    const GenerationOutcome full = GenerateProject(dialogs, here);
    EXPECT_EQ(full.kind, OutcomeKind::WriteFailed);
    EXPECT_EQ(ReportFor(full).exitCode, kExitPartial) << "something changed, and the exit code says so";
    const std::string error = full.error ? full.error->Message() : "";
    EXPECT_EQ(error.rfind("Stream write error: \"" + root + "/demo/", 0), 0u) << error;
    EXPECT_EQ(here.opened.size(), 1u) << "no success after a failed write";
    // Every old entry is in the trash, byte for byte.
    const std::string trash = temp.Child("disk/.Trash-" + std::to_string(::geteuid()));
    auto inTrash = Snapshot(NativePath(trash + "/files"));
    inTrash.erase("");
    auto expected = oldProject;
    expected.erase("");
    EXPECT_EQ(FirstDifference(expected, inTrash), "");
    for (const char* name : {"demo", "demo.kxproj", "\xC9\xFA\xB3\xC9"}) {
        EXPECT_TRUE(test::FileExists(trash + "/info/" + name + ".trashinfo")) << name;
    }
}

// ---- one at a time ---------------------------------------------------------

TEST_F(RegenerationTest, AHeldOrUnusableLockStopsBeforeTheProjectFolderIsLookedAt) {
    Generate("demo");
    ASSERT_EQ(host.opened.size(), 1u);
    const auto before = Snapshot(NativeTemp());
    {
        const GenerationLock other = GenerationLock::Take(outputRoot);
        ASSERT_EQ(other.State(), LockState::Held);
        Generate("demo", true);
        EXPECT_EQ(dialogs.events, PromptThen(Info(texts::kGenerationBusy)));
        Generate("fresh", true);
        EXPECT_EQ(dialogs.events, PromptThen(Info(texts::kGenerationBusy)));
    }
    EXPECT_EQ(FirstDifference(before, Snapshot(NativeTemp())), "") << "the lock file goes with the lock";

    ASSERT_TRUE(test::MakeFolder(JoinPath(outputRoot, kGenerationLockName)));
    Generate("demo", true);
    EXPECT_EQ(dialogs.events, PromptThen(Stop(texts::kRootLockFailed)));
    EXPECT_EQ(host.opened.size(), 1u);
}

// Many presses at once on one name, each in a process of its own, into an
// output root that none of them has made yet.
TEST_F(RegenerationTest, ConcurrentPressesNeverLeaveAnIncompleteProjectBehindASuccess) {
    constexpr int kPresses = 8;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    std::vector<int> reports;
    for (int i = 0; i < kPresses; ++i) {
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(go[1]);
            ::close(report[0]);
            char byte;
            while (::read(go[0], &byte, 1) < 0) {
            }
            test::ScriptedDialogs d;
            d.promptAnswers = {AnsiString("demo")};
            d.questionAnswers = {true};
            test::FixedHost h(outputRoot);
            char ending = 'x';
            try {
                switch (GenerateProject(d, h).kind) {
                    case OutcomeKind::Written: ending = 'S'; break;
                    case OutcomeKind::Busy: ending = 'B'; break;
                    case OutcomeKind::RootFailed: ending = 'R'; break;
                    default: break;
                }
            } catch (...) {
                ending = 'E';
            }
            ::_exit(::write(report[1], &ending, 1) == 1 ? 0 : 1);
        }
        ::close(report[1]);
        children.push_back(child);
        reports.push_back(report[0]);
    }
    ::close(go[0]);
    ::close(go[1]);  // everyone starts now
    std::string outcomes;
    for (int i = 0; i < kPresses; ++i) {
        char ending = '?';
        if (::read(reports[i], &ending, 1) != 1) ending = '?';
        ::close(reports[i]);
        int status = 0;
        ::waitpid(children[i], &status, 0);
        outcomes += ending;
    }
    EXPECT_EQ(outcomes.find_first_not_of("SB"), std::string::npos) << outcomes;
    EXPECT_NE(outcomes.find('S'), std::string::npos) << outcomes;
    const AnsiString project = JoinPath(outputRoot, "demo");
    EXPECT_EQ(test::ListFolder(project), (std::vector<AnsiString>{"demo", kDemoFile, texts::kBuildFolderName}));
    EXPECT_EQ(test::ListFolder(JoinPath(project, "demo")).size(), 5u);
    EXPECT_TRUE(test::FileExists(JoinPath(JoinPath(project, texts::kBuildFolderName), "GetPointXY.dll")));
    EXPECT_EQ(test::ListFolder(outputRoot), std::vector<AnsiString>{"demo"}) << "no lock file left behind";
}

// ---- another user's links ---------------------------------------------------

// In a shared output root another user's project folder holds links to the
// victim's files; regenerating it as the victim moves the links, never what
// they point to, and writes nothing through them.
TEST_F(RegenerationTest, AnotherUsersLinksInTheProjectFolderAreMovedNotFollowed) {
    const passwd* other = ::getpwnam("nobody");
    if (other == nullptr) GTEST_SKIP() << "no second user";
    ASSERT_TRUE(test::MakeFolder(outputRoot));
    ASSERT_EQ(::chmod(NativePath(outputRoot).c_str(), 01777), 0);
    const std::string victim = temp.Child("victim-bashrc");
    ASSERT_TRUE(test::WriteFileBytes(victim, "the victim's settings"));
    const std::string project = NativePath(JoinPath(outputRoot, "demo"));
    ASSERT_EQ(::mkdir(project.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(project.c_str(), 0777), 0);
    ASSERT_EQ(::symlink(victim.c_str(), (project + "/demo.kxproj").c_str()), 0);
    ASSERT_EQ(::symlink(temp.Path().c_str(), (project + "/demo").c_str()), 0);
    for (const char* entry : {"", "/demo.kxproj", "/demo"}) {
        ASSERT_EQ(::lchown((project + entry).c_str(), other->pw_uid, other->pw_gid), 0);
    }

    Generate("demo", true);
    EXPECT_EQ(test::ReadFileBytes(victim).value_or(""), "the victim's settings");
    EXPECT_EQ(host.opened.size(), 1u);
    struct stat st {};
    ASSERT_EQ(::lstat(temp.Child("xdg/Trash/files/demo.kxproj").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link itself is in the trash";
    ASSERT_EQ(::lstat((project + "/demo.kxproj").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_uid, ::geteuid());
}

}  // namespace
}  // namespace kx
