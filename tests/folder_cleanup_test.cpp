// DeleteFolderContents, and the shell request it builds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FolderRules.h"
#include "PathSplit.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::Hex;
using test::JoinPath;
using test::TempFolder;

// ---- the request ------------------------------------------------------------

TEST(DeleteRequest, PatternIsTheFolderABackslashAndStarDotStar) {
    // The list: the pattern and one zero byte, which the string's own
    // terminator follows as the second zero.
    const std::pair<std::string, std::string> cases[] = {
        {"D:\\work\\demo", std::string("D:\\work\\demo\\*.*\0", 17)},
        {"D:\\work\\demo\\", std::string("D:\\work\\demo\\*.*\0", 17)},
        // 乗 is 81 5C: the 5C is its second byte, so a backslash is appended;
        // a real backslash after it is kept.
        {"D:\\\x81\x5C", std::string("D:\\\x81\x5C\\*.*\0", 10)},
        {"D:\\\x81\x5C\\", std::string("D:\\\x81\x5C\\*.*\0", 10)},
        // 项目 is CF EE C4 BF: no trail byte is a backslash.
        {"D:\\\xCF\xEE\xC4\xBF", std::string("D:\\\xCF\xEE\xC4\xBF\\*.*\0", 12)},
    };
    for (const auto& [dir, list] : cases) EXPECT_EQ(Hex(DeleteSourceList(dir)), Hex(list)) << Hex(dir);
}

TEST(DeleteRequest, ListEndsInTwoZeroBytes) {
    const std::string list = DeleteSourceList("D:\\work\\demo");
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(list[16], '\0');
    EXPECT_EQ(list.c_str()[17], '\0');  // the string's own terminator: the second zero
}

TEST(DeleteRequest, FlagTable) {
    EXPECT_EQ(DeleteFlags(true, false), 0x414u);
    EXPECT_EQ(DeleteFlags(true, true), 0x454u);
    EXPECT_EQ(DeleteFlags(false, false), 0x494u);
    EXPECT_EQ(DeleteFlags(false, true), 0x4D4u);
    EXPECT_EQ(kFoDelete, 3u);
}

// ---- the clean-up -----------------------------------------------------------

// A folder with files, files without extension, nested folders with files.
void FillProjectLikeTree(const std::string& root) {
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(root, "demo.kxproj"), "p"));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(root, "README"), "no extension"));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(root, ".hidden"), "dot file"));
    const std::string source = JoinPath(root, "demo");
    ASSERT_TRUE(test::MakeFolder(source));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(source, "demo.kxw"), "w"));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(source, "Makefile"), "m"));
    const std::string deep = JoinPath(source, "deep");
    ASSERT_TRUE(test::MakeFolder(deep));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(deep, "leaf.txt"), "l"));
    ASSERT_TRUE(test::MakeFolder(JoinPath(deep, "empty")));
    const std::string build = JoinPath(root, "\xC9\xFA\xB3\xC9");  // 生成
    ASSERT_TRUE(test::MakeFolder(build));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(build, "GetPointXY.dll"), "d"));
}

TEST(DeleteFolderContents, EmptiesNestedFoldersAndKeepsTheFolder) {
    for (const std::string& trailing : {std::string(), std::string(1, kPathSeparator)}) {
        SCOPED_TRACE(trailing.empty() ? "without a trailing separator" : "with a trailing separator");
        TempFolder temp;
        const std::string project = temp.Child("demo");
        ASSERT_TRUE(test::MakeFolder(project));
        FillProjectLikeTree(project);
        ASSERT_EQ(test::ListFolder(project).size(), 5u);

        EXPECT_TRUE(DeleteFolderContents(project + trailing, true, false));
        EXPECT_TRUE(test::FolderExists(project));
        EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{});
    }
}

TEST(DeleteFolderContents, WithoutSubfoldersTheFoldersSurvive) {
    TempFolder temp;
    const std::string project = temp.Child("demo");
    ASSERT_TRUE(test::MakeFolder(project));
    FillProjectLikeTree(project);

    DeleteFolderContents(project, false, false);
    EXPECT_EQ(test::ListFolder(project), (std::vector<std::string>{"demo", "\xC9\xFA\xB3\xC9"}));
    EXPECT_TRUE(test::FolderExists(JoinPath(project, "demo")));
    EXPECT_TRUE(test::FolderExists(JoinPath(project, "\xC9\xFA\xB3\xC9")));
}

TEST(DeleteFolderContents, ChineseFolderWithTrailByte5C) {
    TempFolder temp;
    const std::string project = temp.Child("\x81\x5C");  // 乗
    ASSERT_TRUE(test::MakeFolderWithFile(project, "a.txt", "a"));
    const std::string sibling = temp.Child("keep.txt");
    ASSERT_TRUE(test::WriteFileBytes(sibling, "k"));

    EXPECT_TRUE(DeleteFolderContents(project, true, false));
    EXPECT_TRUE(test::FolderExists(project));
    EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{});
    EXPECT_TRUE(test::FileExists(sibling));
}

TEST(DeleteFolderContents, NothingOutsideTheFolderIsTouched) {
    TempFolder temp;
    const std::string project = temp.Child("demo");
    ASSERT_TRUE(test::MakeFolderWithFile(project, "a.txt", "a"));
    ASSERT_TRUE(test::WriteFileBytes(temp.Child("demo.txt"), "sibling with a similar name"));
    ASSERT_TRUE(test::MakeFolder(temp.Child("demo2")));

    DeleteFolderContents(project, true, false);
    EXPECT_EQ(test::ListFolder(temp.Path()), (std::vector<std::string>{"demo", "demo.txt", "demo2"}));
}

TEST(DeleteFolderContents, FolderThatIsMissingRelativeOrMistakenDeletesNothing) {
    TempFolder temp;
    const std::string project = temp.Child("demo");
    ASSERT_TRUE(test::MakeFolderWithFile(project, "a.txt", "a"));
    const std::string sibling = temp.Child("demo\x81\x5Cx.txt");  // demo乗x.txt
    ASSERT_TRUE(test::WriteFileBytes(sibling, "s"));
    // The shell's result for a folder that does not exist is its own (Wine
    // reports success: the pattern matched nothing); nothing goes either way.
    DeleteFolderContents(temp.Child("missing"), true, false);
    // These are refused.
    const std::pair<const char*, std::string> cases[] = {
        // Whatever the current folder is, these name nothing absolute; an
        // empty one must not become the root.
        {"an empty folder", ""},
        {"a relative folder", "demo"},
        {"the current folder", "."},
        {"the parent folder", "..\\"},
        // The list or the C string would end at the zero: "demo" or its parent.
        {"a zero byte after the folder", project + std::string("\0sub", 4)},
        {"a zero byte after the backslash", project + std::string("\\\0", 2)},
        {"a zero byte in a subfolder", JoinPath(project, std::string("sub\0", 4))},
        // The appended backslash would be the lead byte's second byte: the
        // pattern demo<81 5C>*.* matches the sibling demo乗x.txt.
        {"a final lead byte", temp.Child("demo\x81")},
    };
    for (const auto& [what, dir] : cases) {
        EXPECT_FALSE(DeleteFolderContents(dir, true, false)) << what;
        EXPECT_FALSE(DeleteFolderContents(dir, false, false)) << what << ", files only";
    }
    EXPECT_TRUE(test::FileExists(JoinPath(project, "a.txt")));
    EXPECT_TRUE(test::FileExists(sibling));
}

}  // namespace
}  // namespace kx
