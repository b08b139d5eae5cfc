// POSIX: single files to the trash (MoveFilesToTrash), and an update that
// keeps every old version there, never follows a link out of the project and
// refuses before its first change what it could not keep.
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "NativePath.h"
#include "posix/InodeFlags.h"
#include "posix/Trash.h"
#include "posix/TreeState.h"
#include "support/UpdateFixture.h"

namespace kx {
namespace {

using test::FirstDifference;
using test::JoinPath;
using test::kUtf8Bom;
using test::Snapshot;

class UpdatePosixTest : public test::UpdateFixture {
public:
    std::string Trash() const { return NativePath(temp.Child("xdg/Trash")); }
    std::string Outside() const { return NativePath(temp.Child("outside")); }
    std::string Native(const std::string& relativeUtf8) const { return NativePath(PathIn("demo", relativeUtf8)); }
};

TEST_F(UpdatePosixTest, SingleFilesGoToTheTrashOrNothingMoves) {
    struct Case {
        const char* what;
        std::function<void(UpdatePosixTest&)> stage;  // on the project demo
        std::vector<std::string> paths;               // relative, UTF-8
        TrashOutcome outcome;
        MoveBlock block;
        std::string entry;
    };
    const Case cases[] = {
        {"two files two levels apart, and one that is not there", [](UpdatePosixTest&) {},
         {"demo/公共库.kx", "生成/GetPointXY.dll", "demo/none.kx"}, TrashOutcome::Moved, MoveBlock::None, ""},
        {"a folder for a file", [](UpdatePosixTest&) {}, {"demo/公共库.kx", "demo"}, TrashOutcome::NothingChanged,
         MoveBlock::Unreadable, "demo"},
        {"a link on the way out of the folder",
         [](UpdatePosixTest& t) {
             ASSERT_TRUE(test::MakeFolderWithFile(t.temp.Child("outside"), "a.kx", "precious"));
             ASSERT_EQ(::symlink(t.Outside().c_str(), t.Native("out").c_str()), 0);
         },
         {"demo/公共库.kx", "out/a.kx"}, TrashOutcome::NothingChanged, MoveBlock::OtherMount, "out/a.kx"},
        // Last: where chattr does not work, the test ends here.
        {"an immutable file",
         [](UpdatePosixTest& t) {
             if (!test::SetInodeFlags(t.Native("demo/demo.kx"), FS_IMMUTABLE_FL, true)) GTEST_SKIP() << "no chattr here";
         },
         {"demo/公共库.kx", "demo/demo.kx"}, TrashOutcome::NothingChanged, MoveBlock::Unmovable, "demo/demo.kx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        test::RemoveTree(temp.Child("outside"));
        test::RemoveTree(AnsiFromUtf8(Trash()));
        ASSERT_TRUE(Generate("demo"));
        c.stage(*this);
        if (::testing::Test::IsSkipped()) return;
        std::vector<AnsiString> paths;
        std::map<std::string, std::string> old;
        for (const std::string& path : c.paths) {
            paths.push_back(AnsiFromUtf8(path));
            old[path] = test::ReadFileBytes(PathIn("demo", path)).value_or("<none>");
        }
        const auto before = Snapshot(NativePath(temp.Path()));

        EXPECT_EQ(CheckFilesToTrash(JoinPath(outputRoot, "demo"), paths).block, c.block);
        const TrashResult moved = MoveFilesToTrash(JoinPath(outputRoot, "demo"), paths);
        test::SetInodeFlags(Native("demo/demo.kx"), FS_IMMUTABLE_FL, false);
        EXPECT_EQ(moved.outcome, c.outcome);
        EXPECT_EQ(moved.check.block, c.block);
        EXPECT_EQ(moved.check.entry, AnsiFromUtf8(c.entry));
        if (c.outcome != TrashOutcome::Moved) {
            EXPECT_EQ(FirstDifference(before, Snapshot(NativePath(temp.Path()))), "") << "changed";
            continue;
        }
        EXPECT_EQ(moved.trashFolder, AnsiFromUtf8(Trash() + "/files"));
        for (const auto& [path, bytes] : old) {
            const std::string name = path.substr(path.rfind('/') + 1);
            EXPECT_FALSE(test::PathExists(PathIn("demo", path))) << path;
            if (bytes == "<none>") continue;
            EXPECT_EQ(test::ReadFileBytes(AnsiFromUtf8(Trash() + "/files/" + name)).value_or("<missing>"), bytes)
                << path;
            EXPECT_NE(test::ReadFileBytes(AnsiFromUtf8(Trash() + "/info/" + name + ".trashinfo")).value_or("").find(
                          "Path=" + PercentEncodePath(Native(path))),
                      std::string::npos);
        }
    }
}

TEST_F(UpdatePosixTest, EveryFileTheUpdateRewritesKeepsItsOldVersionInTheTrash) {
    ASSERT_TRUE(Generate("demo"));
    // The user edits the library and the window file; an earlier update left a merge.
    ASSERT_TRUE(test::WriteFileBytes(PathIn("demo", "demo/公共库.kx"),
                                     kUtf8Bom + "一\r\n二 mine\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"));
    ASSERT_TRUE(test::WriteFileBytes(PathIn("demo", "demo/main.kxwin.merge"), "an earlier merge"));
    EditTemplate("publicfun", "八", "八 theirs");
    EditTemplate("code", "// 丙", "// 丙 theirs");
    EditTemplate("form", "按钮 甲 \"甲\"", "按钮 甲 \"模板的\"");
    ASSERT_TRUE(test::WriteFileBytes(PathIn("demo", "demo/main.kxwin"), "not UTF-16 with its mark"));
    templates.dll = "MZ new point picker";
    std::map<std::string, std::string> old;
    for (const char* path : {"demo/公共库.kx", "demo/demo.kx", "生成/GetPointXY.dll"}) {
        old[path] = test::ReadFileBytes(PathIn("demo", path)).value_or("<none>");
    }

    const UpdateOutcome outcome = Update("demo");
    ASSERT_EQ(outcome.kind, UpdateKind::Updated) << Described(outcome);
    EXPECT_EQ(outcome.oldFiles.place, OldFilesPlace::Trash);
    EXPECT_EQ(outcome.oldFiles.folder, AnsiFromUtf8(Trash() + "/files"));
    for (const auto& [path, bytes] : old) {
        const std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_EQ(test::ReadFileBytes(AnsiFromUtf8(Trash() + "/files/" + name)).value_or("<missing>"), bytes) << path;
        EXPECT_NE(test::ReadFileBytes(PathIn("demo", path)).value_or(bytes), bytes) << path << " was rewritten";
    }
    EXPECT_EQ(test::ReadFileBytes(PathIn("demo", "demo/main.kxwin")), "not UTF-16 with its mark") << "kept, not read";
    EXPECT_EQ(test::ReadFileBytes(PathIn("demo", "demo/main.kxwin.merge")), "an earlier merge") << "not ours to move";
    EXPECT_EQ(test::ListNativeFolder(Trash() + "/files").size(), old.size()) << "nothing else went";
}

TEST_F(UpdatePosixTest, WhatCannotBeKeptOrLiesBehindALinkStopsOrIsLeftAlone) {
    struct Case {
        const char* what;
        std::function<void(UpdatePosixTest&)> stage;  // after generating demo and a change to every file
        UpdateKind kind;
        std::string entry;  // OldFilesKept: the file named
    };
    const Case cases[] = {
        {"a folder where an earlier merge would be",
         [](UpdatePosixTest& t) {
             ASSERT_TRUE(test::WriteFileBytes(t.PathIn("demo", "demo/公共库.kx"), kUtf8Bom + "一\r\n二 mine\r\n"));
             ASSERT_TRUE(test::MakeFolder(t.PathIn("demo", "demo/公共库.kx.merge")));
         },
         UpdateKind::OldFilesKept, "demo/公共库.kx.merge"},
        {"the source folder is a link to another project",
         [](UpdatePosixTest& t) {
             ASSERT_EQ(::rename(t.Native("demo").c_str(), t.Outside().c_str()), 0);
             ASSERT_EQ(::symlink(t.Outside().c_str(), t.Native("demo").c_str()), 0);
         },
         UpdateKind::Updated, ""},
        {"the record's folder is a link",
         [](UpdatePosixTest& t) {
             ASSERT_EQ(::rename(t.Native(".kxgen").c_str(), t.Outside().c_str()), 0);
             ASSERT_EQ(::symlink(t.Outside().c_str(), t.Native(".kxgen").c_str()), 0);
         },
         UpdateKind::RecordUnusable, ""},
        // Last: where chattr does not work, the test ends here.
        {"an immutable file to rewrite",
         [](UpdatePosixTest& t) {
             if (!test::SetInodeFlags(t.Native("demo/demo.kx"), FS_IMMUTABLE_FL, true)) GTEST_SKIP() << "no chattr here";
         },
         UpdateKind::OldFilesKept, "demo/demo.kx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        test::RemoveTree(temp.Child("outside"));
        test::RemoveTree(AnsiFromUtf8(Trash()));
        const TemplateSet original = templates;
        ASSERT_TRUE(Generate("demo"));
        for (const char* resource : {"runtimefun", "publicfun", "code"}) {
            templates.texts[resource] += AnsiFromUtf8("// 新\r\n");
        }
        c.stage(*this);
        if (::testing::Test::IsSkipped()) return;
        const auto outside = Snapshot(Outside());
        const auto before = Snapshot(NativePath(temp.Path()));

        const UpdateOutcome outcome = Update("demo");
        test::SetInodeFlags(Native("demo/demo.kx"), FS_IMMUTABLE_FL, false);
        templates = original;
        EXPECT_EQ(outcome.kind, c.kind) << Described(outcome);
        EXPECT_EQ(FirstDifference(outside, Snapshot(Outside())), "") << "nothing behind a link changed";
        if (c.kind == UpdateKind::Updated) {
            for (const FileUpdate& file : outcome.files) {
                if (file.relativePath.rfind("demo/", 0) == 0) {
                    EXPECT_EQ(file.fate, FileFate::KeptUnreadable) << file.relativePath;
                }
            }
            continue;
        }
        EXPECT_EQ(outcome.blocked.entry, AnsiFromUtf8(c.entry));
        EXPECT_EQ(FirstDifference(before, Snapshot(NativePath(temp.Path()))), "") << "changed";
    }
}

}  // namespace
}  // namespace kx
