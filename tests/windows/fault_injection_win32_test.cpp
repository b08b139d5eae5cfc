// Failures only Windows can stage: a file another program holds open without
// sharing, and the 260-byte limit of the ANSI file calls; and those no test
// can stage for real, through the seam of win32/SystemCalls.h.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "GenerateProject.h"
#include "PathSplit.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/ShellPromptAnswerer.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"
#include "win32/SystemCalls.h"
#include "windows/HelperProcess.h"

namespace {

// The system call a test has made fail, for as long as it says so.
enum class Failing { Nothing, Close, Guid };
Failing failing = Failing::Nothing;

}  // namespace

// This program's versions of the calls in SystemCalls.h, linked in place of
// the library's: the system's own, unless a test makes them fail as the
// system would report it.
namespace kx::os {

BOOL CloseHandle(HANDLE handle) {
    const BOOL closed = ::CloseHandle(handle);
    if (failing != Failing::Close) return closed;
    SetLastError(ERROR_DISK_FULL);  // what was written never reached the disk
    return FALSE;
}

HRESULT CoCreateGuid(GUID* guid) {
    if (failing == Failing::Guid) return HRESULT_FROM_WIN32(RPC_S_UUID_NO_ADDRESS);
    return ::CoCreateGuid(guid);
}

}  // namespace kx::os

namespace kx {
namespace {

using test::DialogEvent;
using test::JoinPath;
using test::Prompt;
using test::TempFolder;

// Opened as another program would: no sharing at all, so nobody may write,
// delete or rename it until it is closed.
class HeldOpen {
public:
    explicit HeldOpen(const AnsiString& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr)) {}
    ~HeldOpen() { Close(); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (IsOpen()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

class FaultInjectionWin32Test : public test::WorkflowTest {
protected:
    AnsiString InProject(const AnsiString& name, const AnsiString& relative) const {
        return JoinPath(JoinPath(outputRoot, name), relative);
    }

    static AnsiString FolderFailed(const AnsiString& name) {
        return texts::kOpenQuote + name + texts::kFolderFailedTail;
    }
};

TEST_F(FaultInjectionWin32Test, AFileHeldOpenByAnotherProgramEndsTheRunAtThatFile) {
    Generate("demo");
    ASSERT_EQ(host.opened.size(), 1u);
    const AnsiString window = InProject("demo", "demo\\main.kxwin");
    ASSERT_TRUE(test::RemoveTree(InProject("demo", "demo\\demo.kx")));
    ASSERT_TRUE(test::RemoveTree(InProject("demo", AnsiString("demo\\") + texts::kKeyScriptFile)));
    const std::string before = test::ReadFileBytes(window).value_or("<missing>");
    HeldOpen lock(window);
    ASSERT_TRUE(lock.IsOpen());

    try {
        WriteProjectFiles(test::PlanToWrite(outputRoot, "demo"), host);
        ADD_FAILURE() << "no error raised";
    } catch (const EFCreateError& error) {
        const AnsiString head = "Cannot create file \"" + window + "\". ";
        ASSERT_EQ(error.Message().compare(0, head.size(), head), 0) << error.Message();
        EXPECT_GT(error.Message().size(), head.size()) << "the system's text follows";
    }
    lock.Close();

    EXPECT_EQ(test::ReadFileBytes(window).value_or("<missing>"), before);
    EXPECT_FALSE(test::PathExists(InProject("demo", "demo\\demo.kx")));
    EXPECT_FALSE(test::PathExists(InProject("demo", AnsiString("demo\\") + texts::kKeyScriptFile)));
    EXPECT_EQ(host.opened.size(), 1u);
}

// A source folder another program holds open (the project still open in
// KX) cannot go to the bin. The run finds it before it changes anything,
// names it, and never asks the question.
TEST_F(FaultInjectionWin32Test, ARegenerationThatCannotRecycleTheSourceFolderStopsBeforeAnyChange) {
    Generate("demo");
    const AnsiString source = InProject("demo", "demo");
    HeldOpen folder(source);
    HeldOpen script(JoinPath(source, "demo.kx"));
    ASSERT_TRUE(folder.IsOpen() && script.IsOpen());

    std::vector<std::string> asked;
    {
        test::ShellPromptAnswerer no(IDNO);
        Generate("demo", true);
        asked = no.Seen();
    }
    script.Close();
    folder.Close();

    EXPECT_EQ(outcome.kind, OutcomeKind::OldFilesKept);
    EXPECT_EQ(outcome.blocked.block, MoveBlock::HeldOpen);
    ASSERT_EQ(dialogs.events.size(), 2u) << "no question";
    EXPECT_EQ(dialogs.events[1].notice, Notice::Error);
    EXPECT_TRUE(asked.empty()) << "the shell was never asked to move anything";
    EXPECT_EQ(test::ListFolder(source).size(), 5u) << "nothing moved";
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(FaultInjectionWin32Test, AFilePathOver260BytesIsShownAsPassed) {
    // Folders short enough for the ANSI calls, file paths of 260 bytes and more.
    // Windows refuses the first such file; Wine goes further before it refuses
    // one. Either way the message names that file exactly as it was passed.
    ASSERT_TRUE(test::MakeFolder(outputRoot));
    const std::size_t n = (247 - (outputRoot.size() + 2)) / 2;
    const AnsiString name(n, 'q');
    ASSERT_TRUE(test::MakeFolder(JoinPath(outputRoot, name)));
    ASSERT_TRUE(test::MakeFolder(InProject(name, name)));
    ASSERT_TRUE(test::MakeFolder(InProject(name, texts::kBuildFolderName)));
    const AnsiString source = outputRoot + "\\" + name + "\\" + name + "\\";
    const std::vector<AnsiString> passed = {source + texts::kRuntimeFunFile, source + texts::kPublicFunFile,
                                            outputRoot + "\\" + name + "\\" + name + ".kxproj",
                                            source + "main.kxwin", source + name + ".kx",
                                            source + texts::kKeyScriptFile};
    ASSERT_GE(passed[0].size(), 260u);

    try {
        WriteProjectFiles(test::PlanToWrite(outputRoot, name), host);
        ADD_FAILURE() << "no error raised";
    } catch (const EFCreateError& error) {
        const AnsiString& message = error.Message();
        const AnsiString head = "Cannot create file \"";
        ASSERT_EQ(message.compare(0, head.size(), head), 0) << message;
        const std::size_t close = message.find("\". ", head.size());
        ASSERT_NE(close, AnsiString::npos) << message;
        const AnsiString shown = message.substr(head.size(), close - head.size());
        EXPECT_GE(shown.size(), 260u);
        EXPECT_NE(std::find(passed.begin(), passed.end(), shown), passed.end()) << shown;
        EXPECT_GT(message.size(), close + 3) << "the system's text follows";
    }
    EXPECT_TRUE(host.opened.empty());
}

// A copy of the helper program deep in folders of double-byte names: its
// path is under 260 characters, so it runs, and over 260 bytes in the ANSI
// code page, so GetModuleFileNameA cannot give it whole.
std::string HelperCopyWithLongAnsiPath(const TempFolder& temp) {
    std::string folder = temp.Path();
    std::string component;
    for (int i = 0; i < 40; ++i) component += "\xCF\xEE";  // 项
    while (folder.size() < 300) {
        folder = JoinPath(folder, component);
        if (!test::MakeFolder(folder)) return "cannot make " + folder;
    }
    const std::string copy = JoinPath(folder, "kx_win32_helper.exe");
    if (!CopyFileA(test::HelperProcess::DefaultProgram().c_str(), copy.c_str(), TRUE)) return "cannot copy to " + copy;
    return copy;
}

std::string FolderTheHelperFinds(const std::string& program) {
    test::HelperProcess helper("folder", program);
    return helper.Started() ? helper.ReadLine() : "not started: " + program;
}

std::string KxErrorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const KxError& error) {
        return "KxError: " + error.Message();
    }
    return "none";
}

// What POSIX reports as an error is one on Windows as well: a close that
// fails after writing, no GUID, a program path cut short. Each row runs once
// as it is and once with the failure.
TEST(PlatformAgreementWin32, FailuresThatPosixReportsAreReported) {
    TempFolder temp;
    const std::string file = temp.Child("out.txt");
    const std::string writeError = "EWriteError: Stream write error: \"" + file + "\"";
    const std::string helper = test::HelperProcess::DefaultProgram();
    auto written = [&](bool ok) {
        return std::string(ok ? "true" : "false") + (test::FileExists(file) ? ", file" : ", no file");
    };
    const struct {
        const char* what;
        Failing fault;
        std::function<std::string(bool faulty)> run;
        std::string healthy;
        std::string faultyStart;
    } rows[] = {
        {"SaveUtf8File, the close fails", Failing::Close,
         [&](bool) { return test::WriterErrorOf(SaveUtf8File, file); }, "none", writeError},
        {"SaveUtf16File, the close fails", Failing::Close,
         [&](bool) { return test::WriterErrorOf(SaveUtf16File, file); }, "none", writeError},
        {"ExtractResourceToFile, the close fails", Failing::Close,
         [&](bool) { return written(ExtractResourceToFile(file, "HUNDRED", "TESTTXT")); }, "true, file",
         "false, no file"},
        {"NewGuidText, CoCreateGuid fails", Failing::Guid,
         [&](bool) { return KxErrorOf([] { NewGuidText(); }); }, "none", "KxError: Cannot create a GUID: "},
        {"ExecutableFolder, a path of 260 bytes or more", Failing::Nothing,
         [&](bool faulty) { return FolderTheHelperFinds(faulty ? HelperCopyWithLongAnsiPath(temp) : helper); },
         SplitAtLastSeparator(helper).folder,
         "KxError: Cannot find the program's folder: GetModuleFileName gave a path of 260 bytes or more"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        test::RemoveTree(file);
        EXPECT_EQ(row.run(false), row.healthy);
        test::RemoveTree(file);
        failing = row.fault;
        const std::string faulty = row.run(true);
        failing = Failing::Nothing;
        EXPECT_THAT(faulty, testing::StartsWith(row.faultyStart));
        if (row.faultyStart.back() == ' ') {
            EXPECT_GT(faulty.size(), row.faultyStart.size()) << "a reason follows";
        }
    }
}

}  // namespace
}  // namespace kx
