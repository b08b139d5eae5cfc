// POSIX: DeleteFolderContents never leaves the folder it names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::JoinPath;
using test::TempFolder;

// A project folder and beside it a folder "outside" with precious.txt, where
// links inside the project point: what the clean-up must never reach.
class LinksOutOfTheFolder : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::MakeFolderWithFile(outside, "precious.txt", "keep"));
        ASSERT_TRUE(test::MakeFolder(project));
    }
    // A symbolic link at project/name pointing to target.
    void Link(const std::string& name, const std::string& target) {
        ASSERT_EQ(::symlink(target.c_str(), JoinPath(project, name).c_str()), 0) << name;
    }
    bool PreciousKept() const { return test::ReadFileBytes(precious) == std::optional<std::string>("keep"); }

    TempFolder temp;
    const std::string outside = temp.Child("outside");
    const std::string precious = JoinPath(outside, "precious.txt");
    const std::string project = temp.Child("project");
};

TEST_F(LinksOutOfTheFolder, LinksToFoldersFilesAndNothingAreRemovedNotFollowed) {
    Link("link", outside);
    ASSERT_TRUE(test::MakeFolder(JoinPath(project, "sub")));
    Link("sub/deeper-link", outside);
    Link("file-link", precious);
    Link("dangling", "/nonexistent/target");

    EXPECT_TRUE(DeleteFolderContents(project, true, false));
    EXPECT_TRUE(test::ListFolder(project).empty());
    EXPECT_TRUE(PreciousKept());
}

TEST_F(LinksOutOfTheFolder, WithoutSubfoldersLinksToFoldersAreRemovedAsLinks) {
    ASSERT_TRUE(test::MakeFolderWithFile(JoinPath(project, "sub"), "inner.txt", "i"));
    Link("link", outside);

    EXPECT_TRUE(DeleteFolderContents(project, false, false));
    EXPECT_EQ(test::ListFolder(project), std::vector<std::string>{"sub"});
    EXPECT_TRUE(test::FileExists(JoinPath(project, "sub/inner.txt")));
    EXPECT_TRUE(PreciousKept());
}

TEST_F(LinksOutOfTheFolder, AFolderThatIsALinkIsNeitherEmptiedNorFollowed) {
    const std::string link = temp.Child("link");
    ASSERT_EQ(::symlink(outside.c_str(), link.c_str()), 0);
    const struct {
        const char* what;
        std::string dir;
    } cases[] = {{"the link", link}, {"the link with a trailing backslash", link + "\\"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool toRecycleBin : {false, true}) {
            EXPECT_FALSE(DeleteFolderContents(c.dir, true, toRecycleBin)) << toRecycleBin;
            EXPECT_FALSE(DeleteFolderContents(c.dir, false, toRecycleBin)) << toRecycleBin;
        }
        EXPECT_EQ(MoveFolderContentsToTrash(c.dir, true).outcome, TrashOutcome::NothingChanged);
    }
    EXPECT_TRUE(PreciousKept());
    EXPECT_EQ(test::ListFolder(outside), std::vector<std::string>{"precious.txt"});
    EXPECT_TRUE(test::PathExists(link));
}

TEST(FolderCleanupPosix, ReadOnlyFilesGoToo) {
    TempFolder temp;
    const std::string project = temp.Child("demo");
    ASSERT_TRUE(test::MakeFolderWithFile(project, "ro.txt", "r"));
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
    ASSERT_TRUE(test::MakeFolderWithFile(temp.Child("demo"), "a.txt", "a"));
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

// A backslash is a character of a name here: "KX项目\\demo" is one folder, and
// its sibling "KX项目" is another that is never touched.
TEST(FolderCleanupPosix, ABackslashIsPartOfTheFolderName) {
    TempFolder temp;
    const std::string sibling = temp.Child("KX\xCF\xEE\xC4\xBF");
    const std::string project = sibling + "\\demo";
    ASSERT_TRUE(test::MakeFolderWithFile(project, "a.txt", "a"));
    ASSERT_TRUE(test::MakeFolderWithFile(sibling, "demo", "not the project"));
    EXPECT_TRUE(DeleteFolderContents(project + "/", true, false));
    EXPECT_TRUE(test::ListFolder(project).empty());
    EXPECT_EQ(test::ReadFileBytes(test::JoinPath(sibling, "demo")).value_or(""), "not the project");
}

TEST(FolderCleanupPosix, ReadOnlyNestedFolderIsEmptiedWhereThePermissionsAllow) {
    TempFolder temp;
    const std::string project = temp.Child("project");
    ASSERT_TRUE(test::MakeFolderWithFile(project, "other.txt", "o"));
    ASSERT_TRUE(test::MakeFolderWithFile(JoinPath(project, "ro"), "f.txt", "f"));
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
