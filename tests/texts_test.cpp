// The workflow's texts are written as GBK escapes; here each one is read back
// as the characters the user sees.
#include <gtest/gtest.h>

#include "CodePage.h"
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
        {texts::kKeyScript,
         u8"function DoSomeWorks()\r\n GetPoint(\"位置名称\")\r\n mouseleftclick()\r\n sleep(500)\r\n\r\nreturn true\r\nend"},
    };
    for (const auto& text : cases) {
        EXPECT_EQ(Utf8FromAnsi(text.gbk), text.utf8);
        EXPECT_EQ(AnsiFromUtf8(text.utf8), text.gbk) << text.utf8;
    }
}

}  // namespace
}  // namespace kx
