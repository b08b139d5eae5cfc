// Failures only Windows can stage: a file another program holds open without
// sharing, and the 260-byte limit of the ANSI file calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/ShellPromptAnswerer.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::Box;
using test::DialogEvent;
using test::JoinPath;
using test::Prompt;

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
        WriteProjectFiles(outputRoot, "demo", host);
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

// The bin cannot take a source folder that another program holds open: the
// check finds it before the shell is asked for anything, and the run stops
// with every old file in place.
TEST_F(FaultInjectionWin32Test, ARegenerationThatCannotRecycleTheSourceFolderStopsAndKeepsIt) {
    Generate("demo");
    const AnsiString source = InProject("demo", "demo");
    HeldOpen folder(source);
    HeldOpen script(JoinPath(source, "demo.kx"));
    ASSERT_TRUE(folder.IsOpen() && script.IsOpen());

    std::vector<std::string> asked;
    {
        test::ShellPromptAnswerer no(IDNO);
        Generate("demo", {texts::kOk});
        asked = no.Seen();
    }
    script.Close();
    folder.Close();

    const AnsiString kept = texts::kOpenQuote + AnsiString("demo") + texts::kOldFilesKeptTail;
    ASSERT_EQ(dialogs.events.size(), 3u);
    EXPECT_EQ(dialogs.events[1], Box(texts::kProjectExists, texts::kNotice, 0x121));
    EXPECT_EQ(dialogs.events[2], Box(kept, texts::kError, 0x10)) << test::Hex(dialogs.events[2].text);
    EXPECT_TRUE(asked.empty()) << "the shell was never asked";
    EXPECT_TRUE(test::FileExists(JoinPath(source, "demo.kx")));
    EXPECT_TRUE(test::FileExists(InProject("demo", "demo.kxproj")));
    EXPECT_EQ(host.opened.size(), 1u);
    EXPECT_TRUE(host.oldFilesMovedTo.empty());
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
        WriteProjectFiles(outputRoot, name, host);
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

}  // namespace
}  // namespace kx
