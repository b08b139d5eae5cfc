// Code page 936 conversions (CodePage.h): both ANSI pages are GBK on every
// platform this tool runs on (under Wine the runner sets zh_CN.UTF-8).
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "CodePage.h"
#include "TextContent.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::Hex;

TEST(DecodeAnsi, BothPagesAreGbk) {
    for (AnsiPage page : {AnsiPage::System, AnsiPage::Thread}) {
        EXPECT_EQ(DecodeAnsi("\xD6\xD0\xCE\xC4", page), u"\u4E2D\u6587");  // 中文
        EXPECT_EQ(DecodeAnsi("abc", page), u"abc");
        EXPECT_EQ(DecodeAnsi("", page), u"");
    }
}

TEST(DecodeAnsi, ZeroBytesAreDecodedToo) {
    EXPECT_EQ(DecodeAnsi(AnsiString("a\0\xD6\xD0", 4), AnsiPage::Thread), (WideString{u'a', 0, 0x4E2D}));
}

TEST(DecodeAnsi, TrailByte5CBelongsToItsCharacter) {
    EXPECT_EQ(DecodeAnsi("\x81\x5C\\", AnsiPage::System), u"\u4E57\\");  // 乗 then a backslash
}

TEST(DecodeAnsi, FullWidthCharactersOfTheMessages) {
    // “ ” ， ？ ： and the ideographic space
    EXPECT_EQ(DecodeAnsi("\xA1\xB0\xA1\xB1\xA3\xAC\xA3\xBF\xA3\xBA\xA1\xA1", AnsiPage::System),
              u"\u201C\u201D\uFF0C\uFF1F\uFF1A\u3000");
}

TEST(DecodeAnsi, InvalidSequencesNeverThrowAndKeepTheTextAround) {
    const WideString lone = DecodeAnsi("ab\x81", AnsiPage::System);  // lead byte at the end
    ASSERT_GE(lone.size(), 2u);
    EXPECT_EQ(lone.substr(0, 2), u"ab");
    EXPECT_LE(lone.size(), 3u);

    const WideString beforeZero = DecodeAnsi(AnsiString("\x81\0z", 3), AnsiPage::System);
    ASSERT_FALSE(beforeZero.empty());
    EXPECT_EQ(beforeZero.back(), u'z');
}

TEST(Utf8FromAnsi, ChineseTextBecomesUtf8) {
    EXPECT_EQ(Hex(Utf8FromAnsi("KX\xCF\xEE\xC4\xBF")), "4B 58 E9 A1 B9 E7 9B AE");  // KX项目
    EXPECT_EQ(Utf8FromAnsi(""), "");
}

TEST(AnsiFromUtf8, RoundTripsGbkText) {
    const AnsiString gbk = "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA1\xA3";  // 项目名称不能为空。
    EXPECT_EQ(AnsiFromUtf8(Utf8FromAnsi(gbk)), gbk);
    EXPECT_EQ(AnsiFromUtf8("\xE4\xB9\x97"), "\x81\x5C");  // 乗
    EXPECT_EQ(AnsiFromUtf8(""), "");
}

TEST(AnsiFromUtf8, CharacterOutsideGbkNeverThrows) {
    // A Korean syllable and an emoji have no GBK form; the ASCII around stays.
    const AnsiString ansi = AnsiFromUtf8("a\xEA\xB0\x80" "b\xF0\x9F\x98\x80" "c");
    ASSERT_GE(ansi.size(), 3u);
    EXPECT_EQ(ansi.front(), 'a');
    EXPECT_EQ(ansi.back(), 'c');
    EXPECT_NE(ansi.find('b'), AnsiString::npos);
}

TEST(Utf8FromUnits, SurrogatePairsAreJoined) {
    EXPECT_EQ(Hex(Utf8FromUnits(u"\U0001F600")), "F0 9F 98 80");
    EXPECT_EQ(Hex(Utf8FromUnits(u"a\u4E2D")), "61 E4 B8 AD");
    EXPECT_EQ(Hex(Utf8FromUnits(WideString{0xD800})), "EF BF BD");
}

// The converters behind these routines may be kept between calls: no call may
// see what an earlier one left behind, a failed one least of all, and threads
// converting at once must not mix their texts.
struct ConversionCase {
    const char* what;
    AnsiString ansi;      // GBK text
    WideString wide;      // their decoded form, empty where the bytes are invalid
    std::string utf8;     // the UTF-8 text that maps back to ansi
};

const std::vector<ConversionCase>& ConversionCases() {
    static const std::vector<ConversionCase> cases = {
        {"ascii", "demo.kxproj", u"demo.kxproj", "demo.kxproj"},
        {"chinese", "\xC9\xFA\xB3\xC9", u"\u751F\u6210", "\xE7\x94\x9F\xE6\x88\x90"},  // 生成
        {"mixed", "KX\xCF\xEE\xC4\xBF\\a", u"KX\u9879\u76EE\\a", "KX\xE9\xA1\xB9\xE7\x9B\xAE\\a"},
        {"trail 5C", "\x81\x5C", u"\u4E57", "\xE4\xB9\x97"},  // 乗
        {"lead byte at the end", "ab\x81", u"", "ab\xE4"},  // invalid either way
    };
    return cases;
}

void CheckConversions(const ConversionCase& c) {
    if (!c.wide.empty()) {
        EXPECT_EQ(DecodeAnsi(c.ansi, AnsiPage::System), c.wide) << c.what;
        EXPECT_EQ(AnsiFromUtf8(c.utf8), c.ansi) << c.what;
        EXPECT_EQ(Utf8FromAnsi(c.ansi), c.utf8) << c.what;
    } else {
        EXPECT_EQ(DecodeAnsi(c.ansi, AnsiPage::Thread).substr(0, 2), u"ab") << c.what;
        EXPECT_EQ(AnsiFromUtf8(c.utf8).substr(0, 2), "ab") << c.what;
    }
}

TEST(CodePageConverters, EachCallStartsAfreshWhateverCameBefore) {
    const auto& cases = ConversionCases();
    for (const ConversionCase& before : cases) {
        for (const ConversionCase& after : cases) {
            CheckConversions(before);
            CheckConversions(after);
        }
    }
}

TEST(CodePageConverters, AsciiBytesStayThemselves) {
    std::string ascii;
    WideString units;
    for (int byte = 1; byte < 0x80; ++byte) {
        ascii += static_cast<char>(byte);
        units += static_cast<char16_t>(byte);
    }
    EXPECT_EQ(DecodeAnsi(AsGbk(ascii), AnsiPage::System), units);
    EXPECT_EQ(Utf8FromAnsi(AsGbk(ascii)), ascii);
    EXPECT_EQ(AnsiFromUtf8(ascii), AsGbk(ascii));
}

TEST(CodePageConverters, ThreadsConvertingAtOnceKeepTheirTexts) {
    // Long texts, so that the conversions overlap in time.
    const auto& cases = ConversionCases();
    const std::size_t threadCount = cases.size() - 1;  // the valid ones
    std::vector<int> wrong(threadCount, 0);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            AnsiString ansi;
            WideString wide;
            std::string utf8;
            for (int i = 0; i < 256; ++i) {
                ansi += cases[t].ansi + "\xB0\xA1";  // 啊, so no text is plain ASCII
                wide += cases[t].wide + u"\u554A";
                utf8 += cases[t].utf8 + "\xE5\x95\x8A";
            }
            for (int round = 0; round < 300; ++round) {
                if (DecodeAnsi(ansi, AnsiPage::System) != wide || AnsiFromUtf8(utf8) != ansi) ++wrong[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (std::size_t t = 0; t < threadCount; ++t) EXPECT_EQ(wrong[t], 0) << cases[t].what;
}

}  // namespace
}  // namespace kx
