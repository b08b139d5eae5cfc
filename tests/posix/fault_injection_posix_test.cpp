// Failures only a POSIX system can stage: a disk that fills up, a clean-up
// that cannot move the old files, paths far beyond the Windows limit.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "GenerateProject.h"
#include "Texts.h"
#include "posix/InChild.h"
#include "posix/PosixFiles.h"
#include "posix/ScopedEnvironment.h"
#include "support/ScopedMount.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::DialogEvent;
using test::JoinPath;
using test::Prompt;
using test::Stop;

int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir) != nullptr) ++count;
        ::closedir(dir);
    }
    return count;
}

class FaultInjectionPosixTest : public test::WorkflowTest {
protected:
    std::string Native(const AnsiString& name, const AnsiString& relative) const {
        return NativePath(JoinPath(JoinPath(outputRoot, name), relative));
    }

    bool StartsWithBom(const AnsiString& name, const AnsiString& relative) const {
        const std::string bytes = test::ReadFileBytes(JoinPath(JoinPath(outputRoot, name), relative)).value_or("");
        return bytes.rfind("\xEF\xBB\xBF", 0) == 0 || bytes.rfind("\xFF\xFE", 0) == 0;
    }
};

const std::vector<AnsiString> kTextFiles = {
    "demo/" + AnsiString(texts::kRuntimeFunFile), "demo/" + AnsiString(texts::kPublicFunFile),
    "demo.kxproj",                                "demo/main.kxwin",
    "demo/demo.kx",                               "demo/" + AnsiString(texts::kKeyScriptFile)};

// A read-only file stops even root here, as it stops everyone on Windows.
TEST_F(FaultInjectionPosixTest, AReadOnlyFileAtAnyStepEndsTheRunThereAndKeepsWhatCameBefore) {
    Generate("demo");
    ASSERT_EQ(host.opened.size(), 1u);
    const AnsiString project = JoinPath(outputRoot, "demo");

    for (std::size_t step = 0; step < kTextFiles.size(); ++step) {
        SCOPED_TRACE(kTextFiles[step]);
        // Later files are removed first, so that any of them that appears was written by this run.
        for (std::size_t later = step + 1; later < kTextFiles.size(); ++later) {
            ASSERT_TRUE(test::RemoveTree(JoinPath(project, kTextFiles[later])));
        }
        const AnsiString locked = JoinPath(project, kTextFiles[step]);
        ASSERT_TRUE(test::WriteFileBytes(locked, "kept as it was"));
        ASSERT_TRUE(test::SetReadOnly(locked, true));

        try {
            WriteProjectFiles(test::PlanToWrite(outputRoot, "demo"), host);
            ADD_FAILURE() << "no error raised";
        } catch (const EFCreateError& error) {
            const AnsiString passed = JoinPath(project, kTextFiles[step]);
            EXPECT_EQ(error.Message(), "Cannot create file \"" + passed + "\". Permission denied");
        }

        ASSERT_TRUE(test::SetReadOnly(locked, false));
        EXPECT_EQ(test::ReadFileBytes(locked).value_or("<missing>"), "kept as it was");
        for (std::size_t earlier = 0; earlier < step; ++earlier) {
            // Rewritten by this run: the text an earlier round locked had no byte-order mark.
            EXPECT_TRUE(StartsWithBom("demo", kTextFiles[earlier])) << kTextFiles[earlier];
        }
        for (std::size_t later = step + 1; later < kTextFiles.size(); ++later) {
            EXPECT_FALSE(test::PathExists(JoinPath(project, kTextFiles[later]))) << kTextFiles[later];
        }
        EXPECT_EQ(host.opened.size(), 1u) << "the shell open never runs after an error";
    }
}

// The output root on a small disk of its own; a step fails when the disk is
// filled up just before it (earlier files are rewritten in the room their
// old contents free).
TEST_F(FaultInjectionPosixTest, AShortWriteRaisesTheWriteErrorNamingTheFileClosesItAndKeepsEarlierFiles) {
    ASSERT_TRUE(test::MakeFolder(outputRoot));
    test::ScopedMount disk = test::ScopedMount::Tmpfs(NativePath(outputRoot), "1m");
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason();
    Generate("demo");
    ASSERT_EQ(host.opened.size(), 1u);
    const std::string filler = NativePath(JoinPath(outputRoot, "filler"));

    // One file of each writer: UTF-8 (the public library) and UTF-16 (the window file).
    for (std::size_t step : {std::size_t{1}, std::size_t{3}}) {
        SCOPED_TRACE(kTextFiles[step]);
        WriteProjectFiles(test::PlanToWrite(outputRoot, "demo"), host);  // every file whole again, with room
        const std::size_t opened = host.opened.size();
        for (std::size_t later = step; later < kTextFiles.size(); ++later) {
            ASSERT_TRUE(test::RemoveTree(JoinPath(JoinPath(outputRoot, "demo"), kTextFiles[later])));
        }
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, "f", 1) > 0) {
        }
        ::close(fd);
        const int descriptors = OpenDescriptors();

        try {
            WriteProjectFiles(test::PlanToWrite(outputRoot, "demo"), host);
            ADD_FAILURE() << "no error raised";
        } catch (const EWriteError& error) {
            const AnsiString passed = JoinPath(JoinPath(outputRoot, "demo"), kTextFiles[step]);
            EXPECT_EQ(error.Message(), "Stream write error: \"" + passed + "\"");
        }

        EXPECT_EQ(OpenDescriptors(), descriptors) << "the file is closed on the error path";
        for (std::size_t earlier = 0; earlier < step; ++earlier) {
            EXPECT_TRUE(StartsWithBom("demo", kTextFiles[earlier])) << kTextFiles[earlier];
        }
        for (std::size_t later = step + 1; later < kTextFiles.size(); ++later) {
            EXPECT_FALSE(test::PathExists(JoinPath(JoinPath(outputRoot, "demo"), kTextFiles[later])))
                << kTextFiles[later];
        }
        EXPECT_EQ(host.opened.size(), opened) << "no shell open after an error";
        ASSERT_EQ(::unlink(filler.c_str()), 0);
    }
}

TEST_F(FaultInjectionPosixTest, APayloadThatCannotBeWrittenIsLeftOutAndTheRunGoesOn) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    Generate("demo");
    const AnsiString dll = AnsiString(texts::kBuildFolderName) + "/GetPointXY.dll";
    ASSERT_TRUE(test::RemoveTree(JoinPath(JoinPath(outputRoot, "demo"), dll)));
    for (const AnsiString& file : kTextFiles) ASSERT_TRUE(test::RemoveTree(JoinPath(JoinPath(outputRoot, "demo"), file)));
    ASSERT_EQ(::symlink("/dev/full", Native("demo", dll).c_str()), 0);
    const int descriptors = OpenDescriptors();

    WriteProjectFiles(test::PlanToWrite(outputRoot, "demo"), host);

    EXPECT_EQ(OpenDescriptors(), descriptors);
    for (const AnsiString& file : kTextFiles) EXPECT_TRUE(StartsWithBom("demo", file)) << file;
    EXPECT_EQ(host.opened.size(), 2u) << "the project is still opened";
}

TEST_F(FaultInjectionPosixTest, AProjectFolderPathOver260BytesIsUsedAndReportedAsPassed) {
    const AnsiString name(240, 'p');
    Generate(name);
    const AnsiString projectFile = JoinPath(JoinPath(outputRoot, name), name + ".kxproj");
    ASSERT_EQ(host.opened.size(), 1u) << "this platform has no 260-byte limit";
    ASSERT_GE(outputRoot.size() + 1 + name.size(), 260u);

    ASSERT_TRUE(test::SetReadOnly(projectFile, true));
    try {
        WriteProjectFiles(test::PlanToWrite(outputRoot, name), host);
        ADD_FAILURE() << "no error raised";
    } catch (const EFCreateError& error) {
        const AnsiString passed = projectFile;
        EXPECT_EQ(error.Message(), "Cannot create file \"" + passed + "\". Permission denied");
    }
    EXPECT_EQ(host.opened.size(), 1u);
}

// The clean-up of a regeneration meets a source folder it may not touch: a
// folder of another owner. Root may touch anything, so as root the press runs
// in a child process that has given up root for the nobody user.
class UndeletableSourceFolder : public FaultInjectionPosixTest {
protected:
    struct ChildPress {
        std::vector<DialogEvent> events;
        std::size_t opened = 0;
    };

    static std::string Field(const std::string& text) { return std::to_string(text.size()) + ":" + text; }

    static bool ReadField(const std::string& in, std::size_t& pos, std::string& out) {
        const std::size_t colon = in.find(':', pos);
        if (colon == std::string::npos) return false;
        const std::size_t length = std::stoul(in.substr(pos, colon - pos));
        out = in.substr(colon + 1, length);
        pos = colon + 1 + length;
        return out.size() == length;
    }

    // Runs one press of Generate answering "demo" and OK, as a user who may
    // not change the source folder.
    ChildPress PressAsAnotherUser(uid_t uid, gid_t gid) {
        const test::ChildRun run = test::RunInChild([&]() -> std::string {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) {
                ::_exit(3);
            }
            host.opened.clear();
            Generate("demo", true);
            std::string report = Field(std::to_string(host.opened.size()));
            for (const DialogEvent& e : dialogs.events) {
                report += Field(e.kind) + Field(std::string(BytesOf(e.text))) +
                          Field(std::to_string(static_cast<int>(e.notice)));
            }
            return report;
        });
        EXPECT_TRUE(run.Ended()) << "child status " << run.status;
        const std::string& report = run.text;

        ChildPress press;
        std::size_t pos = 0;
        std::string opened, kind, text, notice;
        if (!ReadField(report, pos, opened)) return press;
        press.opened = std::stoul(opened);
        while (ReadField(report, pos, kind) && ReadField(report, pos, text) && ReadField(report, pos, notice)) {
            press.events.push_back({kind, AsGbk(text), static_cast<Notice>(std::stoi(notice))});
        }
        return press;
    }
};

void ChangeOwner(const std::string& path, uid_t uid, gid_t gid) {
    ASSERT_EQ(::lchown(path.c_str(), uid, gid), 0) << path;
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    if (!S_ISDIR(st.st_mode)) return;
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    for (const std::string& name : names) ChangeOwner(path + "/" + name, uid, gid);
}

TEST_F(UndeletableSourceFolder, FailsAtTheSourceFolderWithItsMessageAndKeepsTheFolder) {
    Generate("demo");
    ASSERT_EQ(host.opened.size(), 1u);
    const std::string source = Native("demo", "demo");

    uid_t uid = ::geteuid();
    gid_t gid = ::getegid();
    if (uid == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr) GTEST_SKIP() << "no user to run as";
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
        // Everything the child needs is its own, except the source folder.
        ChangeOwner(NativePath(temp.Path()), uid, gid);
        ChangeOwner(source, 0, 0);
        ASSERT_EQ(::chmod(source.c_str(), 0755), 0);
    } else {
        ASSERT_EQ(::chmod(source.c_str(), 0555), 0);
    }
    const AnsiString sourceAnsi = JoinPath(JoinPath(outputRoot, "demo"), "demo");
    const std::vector<AnsiString> inside = test::ListFolder(sourceAnsi);
    ASSERT_EQ(inside.size(), 5u);

    const ChildPress press = PressAsAnotherUser(uid, gid);
    ::chmod(source.c_str(), 0755);

    // The source folder cannot be moved, so nothing is: the old project stays
    // whole, and the message names the folder before the question is asked.
    const AnsiString unmovable = texts::kOpenQuote + AnsiString("demo") + texts::kEntryIn + "demo" +
                                 texts::kEntryUnmovableTail;
    EXPECT_EQ(press.events, (std::vector<DialogEvent>{Prompt("wpx2026_12_07"), Stop(unmovable)}));
    EXPECT_EQ(press.opened, 0u);
    EXPECT_EQ(test::ListFolder(sourceAnsi), inside) << "what could not be moved stays as it was";
    EXPECT_EQ(test::ListFolder(JoinPath(outputRoot, "demo")),
              (std::vector<AnsiString>{"demo", "demo.kxproj", texts::kBuildFolderName}));
    EXPECT_FALSE(test::PathExists(temp.Child("xdg/Trash/files/demo.kxproj"))) << "nothing went to the trash";
}

}  // namespace
}  // namespace kx
