// POSIX: ANSI (GBK) paths in the program, UTF-8 on the file system.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "UnitFunction.h"
#include "posix/PosixFiles.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::TempFolder;

// Names exactly as the file system holds them (UTF-8 bytes).
std::vector<std::string> RawNames(const std::string& nativeFolder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(nativeFolder.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(NativePath, BackslashesAndSlashesBecomeSlashes) {
    EXPECT_EQ(NativePath("/tmp/x\\y\\z.txt"), "/tmp/x/y/z.txt");
    EXPECT_EQ(NativePath("\\tmp\\x\\"), "/tmp/x/");
    EXPECT_EQ(NativePath("relative\\name"), "relative/name");
    EXPECT_EQ(NativePath(""), "");
}

TEST(NativePath, ComponentsAreConvertedToUtf8) {
    EXPECT_EQ(NativePath("/tmp\\KX\xCF\xEE\xC4\xBF\\\xC9\xFA\xB3\xC9"),
              "/tmp/KX\xE9\xA1\xB9\xE7\x9B\xAE/\xE7\x94\x9F\xE6\x88\x90");  // KX项目/生成
}

TEST(NativePath, TrailByte5CIsNoSeparator) {
    EXPECT_EQ(NativePath("/tmp/\x81\x5C\\a"), "/tmp/\xE4\xB9\x97/a");  // 乗/a
    EXPECT_EQ(NativePath("/tmp/\x81\x5C"), "/tmp/\xE4\xB9\x97");
}

TEST(NativePath, ChineseFolderShowsAsUtf8OnDisk) {
    TempFolder temp;
    ASSERT_TRUE(CreateFolder(temp.Path() + "\\KX\xCF\xEE\xC4\xBF"));  // KX项目, joined as the program joins
    EXPECT_EQ(RawNames(NativePath(temp.Path())), std::vector<std::string>{"KX\xE9\xA1\xB9\xE7\x9B\xAE"});
}

TEST(NativePath, ChineseFileNamesOfTheWritersShowAsUtf8OnDisk) {
    TempFolder temp;
    SaveUtf8File(temp.Path() + "\\\xD6\xF7\xBD\xC5\xB1\xBE.txt", "x", true);   // 主脚本.txt
    SaveUtf16File(temp.Path() + "\\\x81\x5C.kxw", "x", true);                  // 乗.kxw
    ASSERT_TRUE(ExtractResourceToFile(temp.Path() + "\\\xC9\xFA\xB3\xC9.dll", "HUNDRED", "TESTTXT"));  // 生成.dll
    EXPECT_EQ(RawNames(NativePath(temp.Path())),
              (std::vector<std::string>{"\xE4\xB8\xBB\xE8\x84\x9A\xE6\x9C\xAC.txt", "\xE4\xB9\x97.kxw",
                                        "\xE7\x94\x9F\xE6\x88\x90.dll"}));
}

TEST(NativePath, RelativePathMessageIsMadeAbsoluteAgainstTheCurrentFolder) {
    const AnsiString full = FullPathForMessage("no-such-folder\\x.txt");
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(full.front(), '/');
    EXPECT_EQ(full.substr(full.size() - std::string("/no-such-folder\\x.txt").size()), "/no-such-folder\\x.txt");
    EXPECT_EQ(FullPathForMessage("/abs/x.txt"), "/abs/x.txt");
}

}  // namespace
}  // namespace kx
