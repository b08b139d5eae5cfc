// Every check of a generation comes before its first change: a press that a
// check stops leaves every byte below the temporary folder as it was (the
// output root aside, which is made before the name is asked), asks no
// question it cannot honour, and ends with the ending the table reports.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "GenerateProject.h"
#include "GenerationLock.h"
#include "OutcomeTable.h"
#include "PathSplit.h"
#include "Texts.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::JoinPath;
using test::Prompt;
using test::Question;

// Everything below folder: path -> bytes, or "<folder>".
std::map<AnsiString, std::string> Tree(const AnsiString& folder) {
    std::map<AnsiString, std::string> tree;
    for (const AnsiString& name : test::ListFolder(folder)) {
        const AnsiString path = JoinPath(folder, name);
        if (test::FolderExists(path)) {
            tree[path] = "<folder>";
            for (auto& entry : Tree(path)) tree.insert(std::move(entry));
        } else {
            tree[path] = test::ReadFileBytes(path).value_or("<unreadable>");
        }
    }
    return tree;
}

class GenerationPlanTest : public test::WorkflowTest {
public:  // the table stages its cases on the fixture
    GenerationPlanTest() {
        Generate("demo");  // an existing project, and the output root
        EXPECT_EQ(outcome.kind, OutcomeKind::Written);
        EXPECT_TRUE(test::WriteFileBytes(JoinPath(JoinPath(outputRoot, "demo"), "mine.txt"), "my work"));
        host.opened.clear();
    }
};

TEST_F(GenerationPlanTest, EachCheckStopsBeforeTheFirstChange) {
    struct Case {
        const char* what;
        AnsiString name;
        std::function<void(GenerationPlanTest&)> stage;
        OutcomeKind kind;
        bool asked;  // whether the exists question came; it is answered OK unless declined
    };
    const auto nothing = [](GenerationPlanTest&) {};
    const Case cases[] = {
        {"a blank name", " \t ", nothing, OutcomeKind::NameEmpty, false},
        {"a path for a name", "..\\demo", nothing, OutcomeKind::NameMalformed, false},
        {"a name Windows reserves, as an existing folder", "CON",
         [](GenerationPlanTest& t) {
             // Only Linux can hold such a folder; on Windows the name alone is refused.
             test::MakeFolderWithFile(JoinPath(t.outputRoot, "CON"), "mine.txt", "my work");
         },
         OutcomeKind::NameNotCreatable, false},
        {"a wildcard in the name, as an existing folder", "a*b",
         [](GenerationPlanTest& t) { test::MakeFolderWithFile(JoinPath(t.outputRoot, "a*b"), "mine.txt", "my work"); },
         OutcomeKind::NameNotCreatable, false},
        {"a name its files cannot fit", AnsiString(250, 'n'), nothing, OutcomeKind::NameTooLong, false},
        {"the user declines", "demo", nothing, OutcomeKind::Kept, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.stage(*this);
        const auto before = Tree(temp.Path());
        Generate(c.name, c.kind != OutcomeKind::Kept);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_TRUE(ChangedNothing(outcome.kind));
        EXPECT_NE(ReportFor(outcome).exitCode, kExitPartial);
        ASSERT_FALSE(dialogs.events.empty());
        EXPECT_EQ(dialogs.events.size() > 1 && dialogs.events[1] == Question(c.name), c.asked);
        EXPECT_EQ(Tree(temp.Path()), before) << "changed";
        EXPECT_TRUE(host.opened.empty());
    }
}

TEST_F(GenerationPlanTest, AnotherGenerationInTheRootStopsItBeforeTheProjectIsLookedAt) {
    const auto before = Tree(temp.Path());
    {
        const GenerationLock other = GenerationLock::Take(outputRoot);
        ASSERT_EQ(other.State(), LockState::Held);
        Generate("demo", true);
        EXPECT_EQ(outcome.kind, OutcomeKind::Busy);
        EXPECT_EQ(dialogs.events.size(), 2u) << "no question";
    }
    EXPECT_EQ(Tree(temp.Path()), before);
}

// The question comes only when everything else is known to work, and the
// answer is the last thing the plan waits for: after it, the old files move.
TEST_F(GenerationPlanTest, AgreeingRegeneratesAndSaysWhereTheOldFilesWent) {
    Generate("demo", true);
    EXPECT_EQ(dialogs.events, (std::vector<test::DialogEvent>{Prompt("wpx2026_12_07"), Question("demo")}));
    EXPECT_EQ(outcome.kind, OutcomeKind::Written);
    EXPECT_NE(outcome.oldFiles.place, OldFilesPlace::None);
    EXPECT_FALSE(test::PathExists(JoinPath(JoinPath(outputRoot, "demo"), "mine.txt")));
    EXPECT_EQ(host.opened, std::vector<AnsiString>{outcome.paths.projectFile});
}

// Every ending has its row: a box the Windows program can show (or none, for
// the two endings that need no word), and an exit code that tells a script
// whether anything changed.
TEST(OutcomeTable, EveryEndingHasItsBoxAndExitCode) {
    struct Row {
        OutcomeKind kind;
        Notice notice;
        int exitCode;
    };
    const Row rows[] = {
        {OutcomeKind::Written, Notice::None, kExitWritten},
        {OutcomeKind::Kept, Notice::None, kExitKept},
        {OutcomeKind::ConverterFailed, Notice::Error, kExitUnchanged},
        {OutcomeKind::RootFailed, Notice::Error, kExitUnchanged},
        {OutcomeKind::NameEmpty, Notice::Information, kExitUsage},
        {OutcomeKind::NameMalformed, Notice::Information, kExitUsage},
        {OutcomeKind::NameNotCreatable, Notice::Error, kExitUsage},
        {OutcomeKind::NameTooLong, Notice::Error, kExitUsage},
        {OutcomeKind::Busy, Notice::Information, kExitUnchanged},
        {OutcomeKind::LockFailed, Notice::Error, kExitUnchanged},
        {OutcomeKind::LinkFolder, Notice::Error, kExitUnchanged},
        {OutcomeKind::OldFilesKept, Notice::Error, kExitUnchanged},
        {OutcomeKind::PlanFailed, Notice::ErrorDisplay, kExitUnchanged},
        {OutcomeKind::ProjectFolderFailed, Notice::Error, kExitUnchanged},
        {OutcomeKind::OldFilesSplit, Notice::Error, kExitPartial},
        {OutcomeKind::SourceFolderFailed, Notice::Error, kExitPartial},
        {OutcomeKind::BuildFolderFailed, Notice::Error, kExitPartial},
        {OutcomeKind::WriteFailed, Notice::ErrorDisplay, kExitPartial},
    };
    for (const Row& row : rows) {
        GenerationOutcome outcome;
        outcome.kind = row.kind;
        outcome.name = "demo";
        outcome.error = KxError("Stream write error");
        const OutcomeReport report = ReportFor(outcome);
        SCOPED_TRACE(static_cast<int>(row.kind));
        EXPECT_EQ(report.notice, row.notice);
        EXPECT_EQ(report.exitCode, row.exitCode);
        EXPECT_EQ(report.caption, row.notice == Notice::Information ? texts::kNotice
                                  : row.notice == Notice::Error     ? texts::kError
                                                                    : "");
        EXPECT_EQ(report.text.empty(), row.notice == Notice::None);
        EXPECT_EQ(ChangedNothing(row.kind), row.kind != OutcomeKind::Written && row.exitCode != kExitPartial);
    }
}

// What stops the old files is named, entry and all; a trash that cannot be
// had keeps the message the program has always shown.
TEST(OutcomeTable, OldFilesKeptNamesWhatAndWhy) {
    const AnsiString entry = AnsiString("sub") + kPathSeparator + "\x81\x5C";  // sub/乗
    const AnsiString head = texts::kOpenQuote + AnsiString("demo") + texts::kEntryIn + entry;
    const std::pair<MoveCheck, AnsiString> rows[] = {
        {{MoveBlock::OtherMount, entry, 0}, head + texts::kEntryOtherMountTail},
        {{MoveBlock::Unmovable, entry, 1}, head + texts::kEntryUnmovableTail},
        {{MoveBlock::HeldOpen, entry, 32}, head + texts::kEntryHeldOpenTail},
        {{MoveBlock::Unreadable, entry, 13}, head + texts::kEntryUnreadableTail},
        {{MoveBlock::TrashInside, "", 0}, texts::kOpenQuote + AnsiString("demo") + texts::kTrashInsideTail},
        {{MoveBlock::NoTrash, "", 28}, texts::kOpenQuote + AnsiString("demo") + texts::kOldFilesKeptTail},
        {{MoveBlock::Unmovable, "", 1}, texts::kOpenQuote + AnsiString("demo") + texts::kOldFilesKeptTail},
    };
    for (const auto& [check, text] : rows) {
        GenerationOutcome outcome;
        outcome.kind = OutcomeKind::OldFilesKept;
        outcome.name = "demo";
        outcome.blocked = check;
        EXPECT_EQ(ReportFor(outcome).text, text) << static_cast<int>(check.block);
    }
}

}  // namespace
}  // namespace kx
