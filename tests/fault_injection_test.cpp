// The workflow driven into each failure it anticipates, with the exact
// outcome: which message, which files stay, which are never written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::Box;
using test::JoinPath;

class FaultInjectionTest : public ::testing::Test {
protected:
    FaultInjectionTest() : outputRoot(temp.Child(texts::kOutputRootName)), host(outputRoot) {
#ifndef _WIN32
        setenv("XDG_DATA_HOME", temp.Child("xdg").c_str(), 1);  // regenerations go to a private trash
#endif
    }

    void Generate(const AnsiString& name, std::deque<int> boxAnswers = {}) {
        dialogs = {};
        dialogs.promptAnswers = {name};
        dialogs.boxAnswers = std::move(boxAnswers);
        GenerateProject(dialogs, host);
    }

    // The six text files in the order they are written, relative to the project folder.
    static std::vector<AnsiString> TextFiles(const AnsiString& name) {
        return {JoinPath(name, texts::kRuntimeFunFile), JoinPath(name, texts::kPublicFunFile),
                name + ".kxproj",                       JoinPath(name, "main.kxwin"),
                JoinPath(name, name + ".kx"),           JoinPath(name, texts::kKeyScriptFile)};
    }

    AnsiString InProject(const AnsiString& name, const AnsiString& relative) const {
        return JoinPath(JoinPath(outputRoot, name), relative);
    }

    test::TempFolder temp;
    AnsiString outputRoot;
    test::FixedHost host;
    test::ScriptedDialogs dialogs;
};

// The path as the workflow passes it to the writer: joined with backslashes.
AnsiString AsPassed(const AnsiString& outputRoot, const AnsiString& name, const AnsiString& relative) {
    AnsiString path = outputRoot + "\\" + name + "\\" + relative;
    for (std::size_t pos = outputRoot.size(); pos < path.size(); ++pos) {
        if (path[pos] == '/') path[pos] = '\\';
    }
    return path;
}

TEST_F(FaultInjectionTest, AReadOnlyFileAtAnyStepEndsTheRunThereAndKeepsWhatCameBefore) {
    Generate("demo");
    ASSERT_EQ(host.opened.size(), 1u);
    const std::vector<AnsiString> files = TextFiles("demo");

    for (std::size_t step = 0; step < files.size(); ++step) {
        SCOPED_TRACE(files[step]);
        // Later files are removed first, so that any of them that appears was written by this run.
        for (std::size_t later = step + 1; later < files.size(); ++later) {
            ASSERT_TRUE(test::RemoveTree(InProject("demo", files[later])));
        }
        const AnsiString locked = InProject("demo", files[step]);
        ASSERT_TRUE(test::WriteFileBytes(locked, "kept as it was"));
        ASSERT_TRUE(test::SetReadOnly(locked, true));

        try {
            WriteProjectFiles(outputRoot, "demo", host);
            ADD_FAILURE() << "no error raised";
        } catch (const EFCreateError& error) {
            const AnsiString head = "Cannot create file \"" + AsPassed(outputRoot, "demo", files[step]) + "\". ";
            ASSERT_EQ(error.Message().compare(0, head.size(), head), 0) << error.Message();
            const AnsiString systemText = error.Message().substr(head.size());
            EXPECT_FALSE(systemText.empty());
            EXPECT_NE(systemText.back(), '.') << "trailing full stops are trimmed";
            EXPECT_GT(static_cast<unsigned char>(systemText.back()), 0x20) << "trailing blanks are trimmed";
        }

        ASSERT_TRUE(test::SetReadOnly(locked, false));
        EXPECT_EQ(test::ReadFileBytes(locked).value_or("<missing>"), "kept as it was");
        for (std::size_t earlier = 0; earlier < step; ++earlier) {
            // Rewritten by this run: the text an earlier round locked had no byte-order mark.
            const std::string bytes = test::ReadFileBytes(InProject("demo", files[earlier])).value_or("");
            EXPECT_TRUE(bytes.rfind("\xEF\xBB\xBF", 0) == 0 || bytes.rfind("\xFF\xFE", 0) == 0)
                << files[earlier] << " is written before the failure";
        }
        for (std::size_t later = step + 1; later < files.size(); ++later) {
            EXPECT_FALSE(test::PathExists(InProject("demo", files[later]))) << files[later];
        }
        EXPECT_EQ(host.opened.size(), 1u) << "the shell open never runs after an error";
    }
}

TEST_F(FaultInjectionTest, AnOutputRootWhoseParentIsMissingIsNotCreated) {
    const AnsiString deeper = JoinPath(temp.Child("missing"), texts::kOutputRootName);
    test::FixedHost deepHost(deeper);
    dialogs.promptAnswers = {AnsiString("demo")};
    GenerateProject(dialogs, deepHost);

    ASSERT_EQ(dialogs.events.size(), 1u) << "the box comes before the prompt";
    EXPECT_EQ(dialogs.events[0], Box(texts::kOutputRootFailed, texts::kError, 0x10));
    EXPECT_FALSE(test::PathExists(temp.Child("missing"))) << "one level only, never the parents";
    EXPECT_TRUE(deepHost.opened.empty());
}

TEST_F(FaultInjectionTest, ANameTooLongForAFolderGetsTheProjectFolderMessageWithTheWholeName) {
    const AnsiString name(300, 'n');  // over every platform's limit for one name
    Generate("first");                 // the output root exists, with one project
    Generate(name);

    ASSERT_EQ(dialogs.events.size(), 2u);
    EXPECT_EQ(dialogs.events[1], Box(texts::kOpenQuote + name + texts::kFolderFailedTail, texts::kError, 0x10));
    EXPECT_EQ(test::ListFolder(outputRoot), std::vector<AnsiString>{"first"});
    EXPECT_EQ(host.opened.size(), 1u);
}

}  // namespace
}  // namespace kx
