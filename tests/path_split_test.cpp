#include <gtest/gtest.h>

#include "PathSplit.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

TEST(PathSplit, SplitsAfterTheLastSeparatorCharacter) {
    const struct {
        const char* path;
        const char* separators;
        const char* folder;
        const char* name;
    } cases[] = {
        {"C:\\tools\\maker.exe", "\\", "C:\\tools\\", "maker.exe"},
        {"maker.exe", "\\", "", "maker.exe"},
        {"", "\\", "", ""},
        {"C:\\tools\\", "\\", "C:\\tools\\", ""},
        {"C:maker.exe", "\\", "", "C:maker.exe"},
        {"C:maker.exe", "\\:", "C:", "maker.exe"},
        {"a/b", "\\", "", "a/b"},
        // 乗 is 81 5C: its second byte is no separator, wherever it stands.
        {"\x81\x5C", "\\", "", "\x81\x5C"},
        {"x\\\x81\x5C", "\\", "x\\", "\x81\x5C"},
        {"\x81\x5C\\y", "\\", "\x81\x5C\\", "y"},
        {"\x81\x5C" "a", "\\", "", "\x81\x5C" "a"},
        // A lead byte before a zero byte or at the end stands alone.
        {"x\\\x81", "\\", "x\\", "\x81"},
    };
    for (const auto& c : cases) {
        const SplitPath split = SplitAtLastSeparator(c.path, c.separators);
        EXPECT_EQ(split.folder, c.folder) << c.path;
        EXPECT_EQ(split.name, c.name) << c.path;
    }
}

}  // namespace
}  // namespace kx
