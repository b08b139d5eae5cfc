// POSIX: ANSI (GBK) paths in the program, UTF-8 on the file system.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "FileSystem.h"
#include "UnitFunction.h"
#include "posix/PosixFiles.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::TempFolder;

// Only a slash separates; a backslash is a character of a name on Linux, so
// a folder the user calls "dir\x" is one folder.
TEST(NativePath, SlashesSeparateAndComponentsBecomeUtf8) {
    const std::pair<const char*, const char*> cases[] = {
        {"/tmp/x/y/z.txt", "/tmp/x/y/z.txt"},
        {"/tmp/x\\y", "/tmp/x\\y"},
        {"relative/name", "relative/name"},
        {"", ""},
        // KX项目/生成
        {"/tmp/KX\xCF\xEE\xC4\xBF/\xC9\xFA\xB3\xC9", "/tmp/KX\xE9\xA1\xB9\xE7\x9B\xAE/\xE7\x94\x9F\xE6\x88\x90"},
        // 乗: its trail byte 5C is part of the character
        {"/tmp/\x81\x5C/a", "/tmp/\xE4\xB9\x97/a"},
        {"/tmp/\x81\x5C", "/tmp/\xE4\xB9\x97"},
    };
    for (const auto& [ansi, native] : cases) EXPECT_EQ(NativePath(ansi), native) << test::Hex(ansi);
}

TEST(NativePath, ChineseFolderShowsAsUtf8OnDisk) {
    TempFolder temp;
    ASSERT_TRUE(CreateFolder(temp.Child("KX\xCF\xEE\xC4\xBF")));  // KX项目
    EXPECT_EQ(test::ListNativeFolder(NativePath(temp.Path())),
              std::vector<std::string>{"KX\xE9\xA1\xB9\xE7\x9B\xAE"});
}

TEST(NativePath, ChineseFileNamesOfTheWritersShowAsUtf8OnDisk) {
    TempFolder temp;
    SaveUtf8File(temp.Child("\xD6\xF7\xBD\xC5\xB1\xBE.txt"), "x", true);  // 主脚本.txt
    SaveUtf16File(temp.Child("\x81\x5C.kxw"), "x", true);                // 乗.kxw
    ASSERT_TRUE(ExtractResourceToFile(temp.Child("\xC9\xFA\xB3\xC9.dll"), "HUNDRED", "TESTTXT"));  // 生成.dll
    EXPECT_EQ(test::ListNativeFolder(NativePath(temp.Path())),
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
