// POSIX: DeleteFolderContents(dir, ..., toRecycleBin = true) moves the entries
// to the freedesktop.org home trash.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "NativePath.h"
#include "UnitFunction.h"
#include "posix/ScopedEnvironment.h"
#include "posix/Trash.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::JoinPath;
using test::ScopedEnvironment;
using test::TempFolder;

std::string InfoOf(const AnsiString& trash, const AnsiString& name) {
    return test::ReadFileBytes(trash + "/info/" + name + ".trashinfo").value_or("<missing>");
}

std::string RealPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string result = real ? real : path;
    ::free(real);
    return result;
}

void ExpectInfo(const std::string& info, const std::string& encodedPath) {
    const std::regex shape("\\[Trash Info\\]\nPath=(.*)\nDeletionDate=\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}\n");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(info, match, shape)) << info;
    EXPECT_EQ(match[1].str(), encodedPath);
}

TEST(TrashInfo, PathIsPercentEncoded) {
    EXPECT_EQ(PercentEncodePath("/tmp/a b/c%d"), "/tmp/a%20b/c%25d");
    EXPECT_EQ(PercentEncodePath("/x/KX\xE9\xA1\xB9\xE7\x9B\xAE"), "/x/KX%E9%A1%B9%E7%9B%AE");
    EXPECT_EQ(PercentEncodePath("/A-Z_a.z~09"), "/A-Z_a.z~09");
    EXPECT_EQ(PercentEncodePath("demo/a.txt"), "demo/a.txt");
}

TEST(TrashInfo, TextLayout) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(TrashInfoText("/p/a b", t), "[Trash Info]\nPath=/p/a%20b\nDeletionDate=2026-12-07T09:05:03\n");
}

TEST(TrashFolder, FromXdgDataHomeOrHome) {
    ScopedEnvironment env;
    env.Set("XDG_DATA_HOME", "/data/home");
    env.Set("HOME", "/home/user");
    EXPECT_EQ(HomeTrashFolder(), "/data/home/Trash");
    env.Set("XDG_DATA_HOME", "relative/ignored");
    EXPECT_EQ(HomeTrashFolder(), "/home/user/.local/share/Trash");
    env.Unset("XDG_DATA_HOME");
    EXPECT_EQ(HomeTrashFolder(), "/home/user/.local/share/Trash");
}

// A project folder "demo" and a private trash: $XDG_DATA_HOME is temp/data.
class DeleteToTrash : public testing::Test {
protected:
    void SetUp() override {
        env.Set("XDG_DATA_HOME", NativePath(dataHome));
        ASSERT_TRUE(test::MakeFolder(project));
    }

    TempFolder temp;
    ScopedEnvironment env;
    const AnsiString dataHome = temp.Child("data");
    const AnsiString trash = dataHome + "/Trash";
    const AnsiString project = temp.Child("demo");
};

TEST_F(DeleteToTrash, EntriesMoveToTheTrashWithInfoFiles) {
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "demo.kxproj"), "project file"));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "README"), "no extension"));
    ASSERT_TRUE(test::MakeFolderWithFile(JoinPath(project, "\xC9\xFA\xB3\xC9"), "GetPointXY.dll", "dll"));  // 生成

    EXPECT_TRUE(DeleteFolderContents(project, true, true));
    EXPECT_TRUE(test::FolderExists(project));
    EXPECT_TRUE(test::ListFolder(project).empty());

    EXPECT_EQ(test::ListFolder(trash + "/files"), (std::vector<AnsiString>{"README", "demo.kxproj",
                                                                             "\xC9\xFA\xB3\xC9"}));
    EXPECT_EQ(test::ReadFileBytes(trash + "/files/demo.kxproj").value_or(""), "project file");
    EXPECT_EQ(test::ReadFileBytes(trash + "/files/\xC9\xFA\xB3\xC9/GetPointXY.dll").value_or(""), "dll");

    const std::string realProject = RealPath(NativePath(project));
    ExpectInfo(InfoOf(trash, "demo.kxproj"), PercentEncodePath(realProject) + "/demo.kxproj");
    ExpectInfo(InfoOf(trash, "README"), PercentEncodePath(realProject) + "/README");
    ExpectInfo(InfoOf(trash, "\xC9\xFA\xB3\xC9"), PercentEncodePath(realProject) + "/%E7%94%9F%E6%88%90");

    struct stat st {};
    ASSERT_EQ(::stat(NativePath(trash + "/info").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(DeleteToTrash, NameCollisionsGetNumberedNames) {
    for (const char* content : {"first", "second", "third"}) {
        ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "a.txt"), content));
        ASSERT_TRUE(DeleteFolderContents(project, true, true));
    }
    EXPECT_EQ(test::ListFolder(trash + "/files"), (std::vector<AnsiString>{"a.txt", "a.txt.2", "a.txt.3"}));
    EXPECT_EQ(test::ReadFileBytes(trash + "/files/a.txt").value_or(""), "first");
    EXPECT_EQ(test::ReadFileBytes(trash + "/files/a.txt.3").value_or(""), "third");
    ExpectInfo(InfoOf(trash, "a.txt.2"), PercentEncodePath(RealPath(NativePath(project))) + "/a.txt");
}

TEST_F(DeleteToTrash, WithoutXdgDataHomeTheTrashIsUnderHome) {
    env.Unset("XDG_DATA_HOME");
    env.Set("HOME", NativePath(temp.Child("home")));
    ASSERT_TRUE(test::MakeFolder(temp.Child("home")));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "a.txt"), "a"));

    EXPECT_TRUE(DeleteFolderContents(project, true, true));
    EXPECT_TRUE(test::ListFolder(project).empty());
    EXPECT_TRUE(test::FileExists(temp.Child("home/.local/share/Trash/files/a.txt")));
    EXPECT_TRUE(test::FileExists(temp.Child("home/.local/share/Trash/info/a.txt.trashinfo")));
}

TEST_F(DeleteToTrash, WithoutSubfoldersTheFoldersStayAndAreNotTrashed) {
    ASSERT_TRUE(test::MakeFolder(JoinPath(project, "sub")));
    ASSERT_TRUE(test::WriteFileBytes(JoinPath(project, "a.txt"), "a"));

    DeleteFolderContents(project, false, true);
    EXPECT_EQ(test::ListFolder(project), std::vector<AnsiString>{"sub"});
    EXPECT_EQ(test::ListFolder(trash + "/files"), std::vector<AnsiString>{"a.txt"});
}

TEST_F(DeleteToTrash, LinksAreTrashedAsLinks) {
    const AnsiString outside = temp.Child("outside");
    ASSERT_TRUE(test::MakeFolderWithFile(outside, "precious.txt", "keep"));
    ASSERT_EQ(::symlink(NativePath(outside).c_str(), NativePath(JoinPath(project, "link")).c_str()), 0);

    EXPECT_TRUE(DeleteFolderContents(project, true, true));
    EXPECT_TRUE(test::ListFolder(project).empty());
    struct stat st {};
    EXPECT_EQ(::lstat(NativePath(trash + "/files/link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_TRUE(test::FileExists(JoinPath(outside, "precious.txt")));
}

}  // namespace
}  // namespace kx
