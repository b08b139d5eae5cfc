// Windows: single files to the Recycle Bin (MoveFilesToTrash) with the
// DELETE-open check first, and an update that refuses before its first
// change when a file it would rewrite is held open (KX with the project
// open), keeps its record hidden, and sends every old version to the bin.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "support/ShellPromptAnswerer.h"
#include "support/UpdateFixture.h"
#include "windows/HelperProcess.h"
#include "windows/RecycleBin.h"

namespace kx {
namespace {

using test::ItemsInBin;

using test::HelperProcess;
using test::JoinPath;
using test::kUtf8Bom;

class UpdateWin32Test : public test::UpdateFixture {
public:
    std::unique_ptr<HelperProcess> Hold(const std::string& relativeUtf8, const char* how = "hold") {
        auto holder = std::make_unique<HelperProcess>(AsGbk(how) + " \"" + PathIn("demo", relativeUtf8) + "\"");
        EXPECT_TRUE(holder->Started()) << HelperProcess::DefaultProgram();
        EXPECT_EQ(holder->ReadLine(), "held");
        return holder;
    }
};

TEST_F(UpdateWin32Test, SingleFilesGoToTheRecycleBinOrNothingMoves) {
    struct Case {
        const char* what;
        std::string held;                // relative, UTF-8; empty: none
        std::vector<std::string> paths;  // relative, UTF-8
        TrashOutcome outcome;
        MoveBlock block;
        std::string entry;
        int systemError;
    };
    const Case cases[] = {
        {"two files two levels apart, and one that is not there", "",
         {"demo\\公共库.kx", "生成\\GetPointXY.dll", "demo\\none.kx"}, TrashOutcome::Moved, MoveBlock::None, "", 0},
        {"a file held open by another program", "demo/demo.kx", {"demo\\公共库.kx", "demo\\demo.kx"},
         TrashOutcome::NothingChanged, MoveBlock::HeldOpen, "demo\\demo.kx", ERROR_SHARING_VIOLATION},
        {"a folder for a file", "", {"demo\\公共库.kx", "demo"}, TrashOutcome::NothingChanged, MoveBlock::Unreadable,
         "demo", ERROR_DIRECTORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        ASSERT_TRUE(Generate("demo"));
        std::unique_ptr<HelperProcess> holder = c.held.empty() ? nullptr : Hold(c.held);
        std::vector<AnsiString> paths;
        for (const std::string& path : c.paths) paths.push_back(AnsiFromUtf8(path));
        const AnsiString project = JoinPath(outputRoot, "demo");
        const auto before = test::TreeOf(project);
        const long long binBefore = ItemsInBin(project);

        EXPECT_EQ(CheckFilesToTrash(project, paths).block, c.block);
        test::ShellPromptAnswerer no(IDNO);
        const TrashResult moved = MoveFilesToTrash(project, paths);
        EXPECT_TRUE(no.Seen().empty()) << "the shell asked nothing";
        EXPECT_EQ(moved.outcome, c.outcome);
        EXPECT_EQ(moved.check.block, c.block);
        EXPECT_EQ(moved.check.entry, AnsiFromUtf8(c.entry));
        EXPECT_EQ(moved.check.systemError, c.systemError);
        EXPECT_FALSE(moved.deletedForGood);
        if (c.outcome != TrashOutcome::Moved) {
            EXPECT_EQ(test::TreeOf(project), before) << "changed";
            EXPECT_EQ(ItemsInBin(project), binBefore);
            continue;
        }
        EXPECT_EQ(ItemsInBin(project), binBefore + 2);
        for (const std::string& path : c.paths) EXPECT_FALSE(test::PathExists(JoinPath(project, AnsiFromUtf8(path))));
    }
}

TEST_F(UpdateWin32Test, AFileHeldOpenStopsTheUpdateBeforeItsFirstChange) {
    const struct {
        const char* what;
        const char* how;  // the helper's command
        UpdateKind kind;
    } cases[] = {
        {"held sharing nothing: it cannot even be read", "hold", UpdateKind::FilesUnreadable},
        {"held sharing reads: it cannot go to the bin", "holdread", UpdateKind::OldFilesKept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        const TemplateSet original = templates;
        ASSERT_TRUE(Generate("demo"));
        EditTemplate("publicfun", "二", "二 theirs");
        EditTemplate("code", "// 丙", "// 丙 theirs");
        const std::unique_ptr<HelperProcess> holder = Hold("demo/demo.kx", c.how);
        const AnsiString project = JoinPath(outputRoot, "demo");
        test::Age(project);
        const auto before = test::TreeOf(project);
        const long long binBefore = ItemsInBin(project);

        const UpdateOutcome outcome = Update("demo");
        templates = original;
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(ExitCodeOf(outcome), kExitUnchanged);
        EXPECT_EQ(outcome.blocked.block, MoveBlock::HeldOpen);
        EXPECT_EQ(outcome.blocked.entry, AnsiFromUtf8("demo\\demo.kx"));
        EXPECT_EQ(test::TreeOf(project), before);
        EXPECT_EQ(ItemsInBin(project), binBefore);
    }
}

TEST_F(UpdateWin32Test, TheRecordIsHiddenAndEveryOldVersionGoesToTheBin) {
    ASSERT_TRUE(Generate("demo"));
    const AnsiString project = JoinPath(outputRoot, "demo");
    const DWORD attributes = GetFileAttributesA(JoinPath(project, ".kxgen").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);

    ASSERT_TRUE(test::WriteFileBytes(PathIn("demo", "demo/公共库.kx"),
                                     kUtf8Bom + "一\r\n二 mine\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"));
    EditTemplate("publicfun", "八", "八 theirs");
    EditTemplate("code", "// 丙", "// 丙 theirs");
    templates.dll = "MZ new point picker";
    const long long binBefore = ItemsInBin(project);
    const UpdateOutcome outcome = Update("demo");
    ASSERT_EQ(outcome.kind, UpdateKind::Updated) << Described(outcome);
    EXPECT_EQ(outcome.oldFiles.place, OldFilesPlace::RecycleBin);
    EXPECT_EQ(ItemsInBin(project), binBefore + 3) << "the library, the main script and the DLL";
    EXPECT_EQ(test::ReadFileBytes(PathIn("demo", "生成/GetPointXY.dll")), std::string("MZ new point picker"));
    EXPECT_NE(GetFileAttributesA(JoinPath(project, ".kxgen").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
}  // namespace kx
