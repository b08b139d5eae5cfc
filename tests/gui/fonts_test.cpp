// The fonts of the main window and the name prompt show every one of their
// texts in Chinese glyphs, in a prefix that has the fonts of a Chinese Windows
// (KX_WINE_LOOK=zh-CN) and in a bare one (plain).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "FontChoice.h"
#include "GuiSession.h"

namespace kxgui {
namespace {

using kx::win::CreateFontShowing;
using kx::win::FontRequest;
using kx::win::FontShowsText;

constexpr char kSongTi[] = "\xCB\xCE\xCC\xE5";  // 宋体

bool PrefixLooksChinese() {
    const char* look = std::getenv("KX_WINE_LOOK");
    return look == nullptr || std::string(look) != "plain";
}

struct FontCase {
    const char* what;
    FontRequest request;  // as the program asks for it
    Text text;
};

// Heights at 96 pixels per inch; the glyphs do not depend on them.
const FontCase kCases[] = {
    // 如果您觉得好用，请用微信扫码捐赠，金额不限。
    {"lbl1", {-14, ANSI_CHARSET, kSongTi},
     "\xC8\xE7\xB9\xFB\xC4\xFA\xBE\xF5\xB5\xC3\xBA\xC3\xD3\xC3\xA3\xAC\xC7\xEB\xD3\xC3\xCE\xA2"
     "\xD0\xC5\xC9\xA8\xC2\xEB\xBE\xE8\xD4\xF9\xA3\xAC\xBD\xF0\xB6\xEE\xB2\xBB\xCF\xDE\xA1\xA3"},
    // 您的鼓励，是我前行的动力！
    {"lbl2", {-14, ANSI_CHARSET, kSongTi},
     "\xC4\xFA\xB5\xC4\xB9\xC4\xC0\xF8\xA3\xAC\xCA\xC7\xCE\xD2\xC7\xB0\xD0\xD0\xB5\xC4\xB6\xAF"
     "\xC1\xA6\xA3\xA1"},
    {"lbl3", {-14, ANSI_CHARSET, kSongTi}, "KX\xB9\xA4\xBE\xDF\xCF\xC2\xD4\xD8"},  // KX工具下载
    {"btn1", {-11, DEFAULT_CHARSET, "MS Sans Serif"}, "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF"},
    {"btn2", {-11, DEFAULT_CHARSET, "MS Sans Serif"}, "\xCD\xCB\xB3\xF6"},  // 退出
    {"prompt label", {-11, DEFAULT_CHARSET, "MS Sans Serif"}, texts::kPromptLabel},
    // The proposed name is ASCII, a typed one may be Chinese: 中文项目
    {"prompt edit", {-11, DEFAULT_CHARSET, "MS Sans Serif"}, "\xD6\xD0\xCE\xC4\xCF\xEE\xC4\xBF"},
};

TEST(Fonts, EveryTextOfTheMainWindowAndThePromptHasItsGlyphs) {
    for (const FontCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const kx::win::Font font = CreateFontShowing(c.request, {c.text.c_str()});
        ASSERT_TRUE(font);
        EXPECT_TRUE(FontShowsText(font.Get(), c.text.c_str()));
    }
}

// Where "宋体" exists, as on a Chinese Windows, the labels' request shows
// Chinese as it stands, so the program keeps the font it asks for. In a bare
// prefix what Wine makes of it depends on the fonts installed; it is recorded
// for the log.
TEST(Fonts, LabelRequestAloneShowsChineseWithTheAssociation) {
    const FontCase& label = kCases[0];
    const kx::win::Font font(CreateFontA(label.request.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                         FALSE, label.request.charset, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                         label.request.face));
    ASSERT_TRUE(font);
    const bool shows = FontShowsText(font.Get(), label.text.c_str());
    RecordProperty("label_request_shows_chinese", shows ? "yes" : "no");
    if (PrefixLooksChinese()) EXPECT_TRUE(shows);
}

// A request that lands on a Latin font without Chinese glyphs (DejaVu Sans,
// installed by the set-up) is what a system without "宋体" and without the
// association may make of the labels' request: the program's choice must
// still show the text, in either prefix.
TEST(Fonts, RequestOnALatinFontFallsBackToTheCodePagesCharacterSet) {
    const Text text = kCases[1].text;
    const FontRequest latin{-14, ANSI_CHARSET, "DejaVu Sans"};
    const kx::win::Font requested(CreateFontA(latin.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                              latin.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                              DEFAULT_QUALITY, DEFAULT_PITCH, latin.face));
    ASSERT_TRUE(requested);
    ASSERT_FALSE(FontShowsText(requested.Get(), text.c_str())) << "DejaVu Sans shows Chinese";

    const kx::win::Font chosen = CreateFontShowing(latin, {text.c_str()});
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(FontShowsText(chosen.Get(), text.c_str()));
    LOGFONTA asked{};
    ASSERT_NE(GetObjectA(chosen.Get(), sizeof asked, &asked), 0);
    EXPECT_EQ(asked.lfCharSet, GB2312_CHARSET);
}

TEST(Fonts, FallbackFollowsTheAnsiCodePage) {
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(kx::win::AnsiCodePageCharset(), GB2312_CHARSET);
}

}  // namespace
}  // namespace kxgui
