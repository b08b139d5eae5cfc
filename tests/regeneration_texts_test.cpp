// The texts of a regeneration that keeps the old files, read back as the
// characters the user sees.
#include <gtest/gtest.h>

#include "CodePage.h"
#include "RegenerationTexts.h"

namespace kx {
namespace {

TEST(RegenerationTexts, ReadAsTheirCharacters) {
    const struct {
        const char* gbk;
        const char* utf8;
    } cases[] = {
        {texts::kLinkFolderTail, u8"”不是普通目录（是链接或交接点），未作任何改动。"},
        {texts::kOldFilesKeptTail, u8"”目录中的旧文件无法移到回收站，未作任何改动。"},
        {texts::kOldFilesSplitTail, u8"”目录中的旧文件未能全部移到回收站：已移走的在回收站中，其余仍在原处。"},
        {texts::kGenerationBusy, u8"另一个生成正在使用“KX项目”目录，请稍后再试。"},
        {texts::kRootLockFailed, u8"无法锁定“KX项目”目录，未作任何改动。"},
        {texts::kOldFilesMovedTo, u8"旧文件已移到："},
        {texts::kOldFilesInRecycleBin, u8"旧文件已移到回收站。"},
    };
    for (const auto& text : cases) {
        EXPECT_EQ(Utf8FromAnsi(text.gbk), text.utf8);
        EXPECT_EQ(AnsiFromUtf8(text.utf8), text.gbk) << text.utf8;
    }
}

}  // namespace
}  // namespace kx
