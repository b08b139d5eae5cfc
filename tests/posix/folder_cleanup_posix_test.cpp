// POSIX: DeleteFolderContents never leaves the folder it names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::JoinPath;
using test::TempFolder;

TEST(FolderCleanupPosix, LinkToAFolderOutsideIsRemovedNotFollowed) {
    TempFolder temp;
    const std::string outside = temp.Child("outside");
    ASSERT_TRUE(test::MakeFolder(outside));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(outside, "precious.txt"), "keep"));
    const std::string project = temp.Child("project");
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_EQ(::symlink(outside.c_str(), JoinPath(project, "link").c_str()), 0);
    ASSERT_TRUE(test::MakeFolder(JoinPath(project, "sub")));
    ASSERT_EQ(::symlink(outside.c_str(), JoinPath(project, "sub/deeper-link").c_str()), 0);

    EXPECT_TRUE(DeleteFolderContents(project, true, false));
    EXPECT_TRUE(test::ListFolder(project).empty());
    EXPECT_EQ(test::ReadFileBytes(JoinPath(outside, "precious.txt")).value_or(""), "keep");
}

TEST(FolderCleanupPosix, LinkToAFileOutsideIsRemovedNotFollowed) {
    TempFolder temp;
    const std::string outsideFile = temp.Child("precious.txt");
    ASSERT_TRUE(test::WriteFileBytes(outsideFile, "keep"));
    const std::string project = temp.Child("project");
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_EQ(::symlink(outsideFile.c_str(), JoinPath(project, "file-link").c_str()), 0);
    ASSERT_EQ(::symlink("/nonexistent/target", JoinPath(project, "dangling").c_str()), 0);

    EXPECT_TRUE(DeleteFolderContents(project, true, false));
    EXPECT_TRUE(test::ListFolder(project).empty());
    EXPECT_EQ(test::ReadFileBytes(outsideFile).value_or(""), "keep");
}

TEST(FolderCleanupPosix, WithoutSubfoldersLinksToFoldersAreRemovedAsLinks) {
    TempFolder temp;
    const std::string outside = temp.Child("outside");
    ASSERT_TRUE(test::MakeFolder(outside));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(outside, "precious.txt"), "keep"));
    const std::string project = temp.Child("project");
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_TRUE(test::MakeFolder(JoinPath(project, "sub")));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "sub/inner.txt"), "i"));
    ASSERT_EQ(::symlink(outside.c_str(), JoinPath(project, "link").c_str()), 0);

    EXPECT_TRUE(DeleteFolderContents(project, false, false));
    EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{"sub"});
    EXPECT_TRUE(test::FileExists(JoinPath(project, "sub/inner.txt")));
    EXPECT_TRUE(test::FileExists(JoinPath(outside, "precious.txt")));
}

TEST(FolderCleanupPosix, FolderGivenThroughALinkIsEmptiedAndTheLinkStays) {
    TempFolder temp;
    const std::string real = temp.Child("real");
    ASSERT_TRUE(test::MakeFolder(real));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(real, "a.txt"), "a"));
    const std::string link = temp.Child("link");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    EXPECT_TRUE(DeleteFolderContents(link, true, false));
    EXPECT_TRUE(test::ListFolder(real).empty());
    EXPECT_TRUE(test::PathExists(link));
}

TEST(FolderCleanupPosix, ReadOnlyFilesGoToo) {
    TempFolder temp;
    const std::string project = temp.Child("demo");
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "ro.txt"), "r"));
    ASSERT_TRUE(test::SetReadOnly(JoinPath(project, "ro.txt"), true));
    EXPECT_TRUE(DeleteFolderContents(project, true, false));
    EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{});
}

TEST(FolderCleanupPosix, EmptyFolderIsSuccess) {
    TempFolder temp;
    EXPECT_TRUE(DeleteFolderContents(temp.Path(), true, false));
    EXPECT_TRUE(test::FolderExists(temp.Path()));
}

TEST(FolderCleanupPosix, MissingFolderOrFileIsFailure) {
    TempFolder temp;
    ASSERT_TRUE(test::WriteFileBytes(temp.Child("file"), "f"));
    EXPECT_FALSE(DeleteFolderContents(temp.Child("missing"), true, false));
    EXPECT_FALSE(DeleteFolderContents(temp.Child("file"), true, false));
    EXPECT_TRUE(test::FileExists(temp.Child("file")));
}

TEST(FolderCleanupPosix, RelativeFolderIsRefusedEvenWhenItExistsHere) {
    TempFolder temp;
    ASSERT_TRUE(test::MakeFolder(temp.Child("demo")));
    ASSERT_TRUE(test::WriteFileBytes(temp.Child("demo/a.txt"), "a"));
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(::chdir(temp.Path().c_str()), 0);
    const bool relative = DeleteFolderContents("demo", true, false);
    const bool dot = DeleteFolderContents(".", true, false);
    const bool empty = DeleteFolderContents("", true, false);
    ASSERT_EQ(::chdir(cwd), 0);
    EXPECT_FALSE(relative);
    EXPECT_FALSE(dot);
    EXPECT_FALSE(empty);
    EXPECT_TRUE(test::FileExists(temp.Child("demo/a.txt")));
}

TEST(FolderCleanupPosix, BackslashPathAsTheProgramJoinsIt) {
    TempFolder temp;
    ASSERT_TRUE(test::MakeFolder(temp.Child("KX\xCF\xEE\xC4\xBF")));
    const std::string project = temp.Path() + "\\KX\xCF\xEE\xC4\xBF";
    ASSERT_TRUE(test::WriteFileBytes(project + "\\a.txt", "a"));
    EXPECT_TRUE(DeleteFolderContents(project + "\\", true, false));
    EXPECT_TRUE(test::ListFolder(project).empty());
}

TEST(FolderCleanupPosix, ReadOnlyNestedFolderIsEmptiedWhereThePermissionsAllow) {
    TempFolder temp;
    const std::string project = temp.Child("project");
    ASSERT_TRUE(test::MakeFolder(project));
    ASSERT_TRUE(test::MakeFolder(JoinPath(project, "ro")));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "ro/f.txt"), "f"));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "other.txt"), "o"));
    ASSERT_EQ(::chmod(JoinPath(project, "ro").c_str(), 0555), 0);
    const bool result = DeleteFolderContents(project, true, false);
    if (::geteuid() == 0) {
        EXPECT_TRUE(result);
        EXPECT_TRUE(test::ListFolder(project).empty());
    } else {
        // Not everything could go: false, the rest is still deleted.
        EXPECT_FALSE(result);
        EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{"ro"});
    }
}

}  // namespace
}  // namespace kx
