// The program's texts are GBK bytes made at build time from a UTF-8 source;
// here each one is read back as the characters the user sees.
#include <gtest/gtest.h>

#include <string>

#include "CodePage.h"
#include "GbkSample.h"
#include "ProgramTexts.h"
#include "Texts.h"

namespace kx {
namespace {

TEST(Texts, ReadAsTheirCharacters) {
    const struct {
        const char* gbk;
        const char* utf8;
    } cases[] = {
        {texts::kOutputRootName, u8"KX项目"},
        {texts::kBuildFolderName, u8"生成"},
        {texts::kRuntimeFunFile, u8"运行时设置函数.kx"},
        {texts::kPublicFunFile, u8"公共库.kx"},
        {texts::kKeyScriptFile, u8"按键脚本.kx"},
        {texts::kError, u8"错误"},
        {texts::kNotice, u8"提示"},
        {texts::kNamePromptTitle, u8"请输入生成的KX项目名称："},
        {texts::kNamePromptLabel, u8"提示：   "},
        {texts::kOutputRootFailed, u8"“KX项目”目录创建失败。"},
        {texts::kNameEmpty, u8"项目名称不能为空。"},
        {texts::kNameMalformed, u8"项目名称格式不正确。"},
        {texts::kProjectExists, u8"该项目已经存在，是否重新生成？"},
        {texts::kOpenQuote, u8"“"},
        {texts::kFolderFailedTail, u8"”目录创建失败。"},
        {texts::kBuildFolderFailed, u8"“生成”目录创建失败。"},
        {texts::kLinkFolderTail, u8"”不是普通目录（是链接或交接点），未作任何改动。"},
        {texts::kOldFilesKeptTail, u8"”目录中的旧文件无法移到回收站，未作任何改动。"},
        {texts::kOldFilesSplitTail, u8"”目录中的旧文件未能全部移到回收站：已移走的在回收站中，其余仍在原处。"},
        {texts::kGenerationBusy, u8"另一个生成正在使用“KX项目”目录，请稍后再试。"},
        {texts::kRootLockFailed, u8"无法锁定“KX项目”目录，未作任何改动。"},
        {texts::kEntryIn, u8"”中的“"},
        {texts::kEntryOtherMountTail, u8"”是另一个文件系统（挂载点或卷），旧文件无法移到回收站，未作任何改动。"},
        {texts::kEntryUnmovableTail, u8"”不允许移动，旧文件无法移到回收站，未作任何改动。"},
        {texts::kEntryHeldOpenTail,
         u8"”正被另一个程序使用，旧文件无法移到回收站，未作任何改动。请先关闭它（例如在 KX 中关闭这个项目）再重新生成。"},
        {texts::kEntryUnreadableTail, u8"”无法读取，旧文件无法移到回收站，未作任何改动。"},
        {texts::kTrashInsideTail, u8"”是一个挂载点，它的回收站只能建在它自己里面，旧文件无法移到回收站，未作任何改动。"},
        {texts::kNameTooLongTail, u8"”太长：项目中的路径会超出文件系统的长度上限，未作任何改动。"},
        {texts::kConverterFailed, u8"无法在代码页 936 与 Unicode 之间转换文字，未作任何改动。"},
        {texts::kKeyScript,
         u8"function DoSomeWorks()\r\n GetPoint(\"位置名称\")\r\n mouseleftclick()\r\n sleep(500)\r\n\r\nreturn true\r\nend"},
        {KX_TEXT_GUIDE_FILE_NAME, u8"说明.txt"},
        {KX_TEXT_LIST_SEPARATOR, u8"、"},
        {KX_TEXT_MAIN_CAPTION, u8"KX按键项目模板"},
        {KX_TEXT_LABEL_FACE, u8"宋体"},
        {KX_TEXT_DONATE, u8"如果您觉得好用，请用微信扫码捐赠，金额不限。"},
        {KX_TEXT_THANKS, u8"您的鼓励，是我前行的动力！"},
        {KX_TEXT_DOWNLOAD_LINK, u8"KX工具下载"},
        {KX_TEXT_GENERATE_BUTTON, u8"生成KX项目"},
        {KX_TEXT_EXIT_BUTTON, u8"退出"},
        {KX_TEXT_PICKER_README,
         u8"取点工具 GetPointXY.dll\r\n\r\nGetPoint(提示文字, x, y)：在屏幕上选取一个点。\r\n"
         u8"按鼠标任意键选取该点的屏幕坐标，按 Esc 键取消。\r\n"
         u8"取消时 x、y 都是 -1，函数返回 0；选中时返回 1。"},
    };
    for (const auto& text : cases) {
        EXPECT_EQ(Utf8FromAnsi(text.gbk), text.utf8);
        EXPECT_EQ(AnsiFromUtf8(text.utf8), text.gbk) << text.utf8;
    }
}

// The conversion itself, on characters whose second byte is a backslash or a
// letter and on a digit right after a character: the exact bytes come through.
TEST(Texts, ConversionKeepsAwkwardBytes) {
    const struct {
        std::string converted;
        std::string bytes;
    } cases[] = {
        {KX_SAMPLE_BACKSLASH_SECOND, "\x81\x5C"},
        {KX_SAMPLE_QUOTE_AFTER, "\x81\x5C\x22"},
        {KX_SAMPLE_LETTER_SECOND, "\x81\x40" "A"},
        {KX_SAMPLE_DIGIT_AFTER, "\xB1\xED" "1"},
        {KX_SAMPLE_C_ESCAPES, "\xA1\xB0\\\r\n\xA1\xB1"},
    };
    for (const auto& sample : cases) EXPECT_EQ(sample.converted, sample.bytes);
}

}  // namespace
}  // namespace kx
