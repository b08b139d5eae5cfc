// Decoding GBK on POSIX: an invalid sequence costs one replacement character
// for its first byte only, and decoding goes on from the very next byte, even
// where that byte was the second half of the invalid pair. The writers take
// a faster road to the same bytes; the plain one, a character at a time, is
// kept here as their reference.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Gbk.h"
#include "TextContent.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

struct DecodeCase {
    const char* what;
    AnsiString ansi;
    WideString wide;
};

TEST(DecodeAnsiPosix, InvalidSequencesResynchroniseOnTheNextByte) {
    const std::vector<DecodeCase> cases = {
        {"invalid pair, then a pair", "\xFE\xD6\x70", u"\uFFFD\u8B15"},
        {"invalid pair in Chinese text", "\xAA\xAA\x40\xCD\x61", u"\uFFFD\u72DC\u86A2"},
        {"lead byte before a space", "a\x81 b", u"a\uFFFD b"},
        {"lead byte before a zero byte", AnsiString("\x81\0z", 3), WideString{0xFFFD, 0, u'z'}},
        {"lead byte at the end", "ab\x81", u"ab\uFFFD"},
        {"byte FF between characters", "\xD6\xD0\xFF\xD6\xD0", u"\u4E2D\uFFFD\u4E2D"},
        {"trail byte 5C", "x\x81\x5C\\y", u"x\u4E57\\y"},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeAnsi(c.ansi, AnsiPage::System), c.wide) << c.what;
        EXPECT_EQ(DecodeAnsi(c.ansi, AnsiPage::Thread), c.wide) << c.what;
    }
}

// ---- the writers' fast road against the plain one -----------------------------

// The plain decoding: one character at a time, each through iconv on its own
// (a byte, or a lead byte with the byte after it), U+FFFD for the first byte
// of whatever iconv refuses.
class PlainDecoder {
public:
    PlainDecoder() : cd_(iconv_open("UCS-4LE", "CP936")) {}
    ~PlainDecoder() {
        if (ok()) iconv_close(cd_);
    }
    PlainDecoder(const PlainDecoder&) = delete;
    PlainDecoder& operator=(const PlainDecoder&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    WideString Decode(const AnsiString& text) {
        WideString units;
        for (std::size_t pos = 0; pos < text.size();) {
            const auto byte = static_cast<unsigned char>(text[pos]);
            const std::size_t length = IsGbkLeadByte(byte) && pos + 1 < text.size() ? 2 : 1;
            const char32_t cp = byte < 0x80 ? byte : One(std::string(BytesOf(text).substr(pos, length)));
            units += cp == kRefused ? u'\uFFFD' : static_cast<char16_t>(cp);
            pos += cp == kRefused ? 1 : length;
        }
        return units;
    }

private:
    static constexpr char32_t kRefused = 0xFFFFFFFF;

    char32_t One(std::string bytes) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        unsigned char out[8] = {};
        char* in = bytes.data();
        std::size_t inLeft = bytes.size();
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof out;
        if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || outLeft != 4) {
            return kRefused;
        }
        const char32_t cp = out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24;
        return cp < 0x10000 ? cp : kRefused;  // code page 936 has nothing beyond the BMP
    }

    iconv_t cd_;
};

std::string Utf8UnitByUnit(const WideString& units) {
    std::string out;
    for (const char16_t unit : units) AppendUtf8Unit(out, unit);
    return out;
}

std::string Utf16LowByteFirst(const WideString& units) {
    std::string out;
    for (const char16_t unit : units) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

// Empty when equal, else where they part and a few bytes of each from there.
std::string Difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) return "";
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    const std::size_t from = at < 8 ? 0 : at - 8;
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
           ", first difference at " + std::to_string(at) + ": " + test::Hex(actual.substr(from, 24)) + " | " +
           test::Hex(expected.substr(from, 24));
}

AnsiString RepeatGbk(const AnsiString& text, std::size_t times) {
    AnsiString out;
    while (times-- > 0) out += text;
    return out;
}

struct GbkText {
    std::string what;
    AnsiString text;
};

// Every kind of awkward input, and runs longer than any step or buffer inside.
std::vector<GbkText> AwkwardTexts() {
    AnsiString ascii, everyPair, offsets;
    for (int b = 1; b < 0x80; ++b) ascii += static_cast<char>(b);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int second = 0; second <= 0xFF; ++second) {
            everyPair += static_cast<char>(lead);
            everyPair += static_cast<char>(second);
        }
    }
    for (std::size_t k = 0; k < 17; ++k) offsets += AnsiString(k, 'a') + "\xD6\xD0";
    std::vector<GbkText> texts = {
        {"ASCII", ascii},
        {"double-byte", "KX\xCF\xEE\xC4\xBF \xB0\xB4\xBC\xFC\xBD\xC5\xB1\xBE"},  // KX项目 按键脚本
        {"second bytes 5C and 7C", "\x81\x5C\\\x81\x7C|"},
        {"characters that are two bytes of UTF-8", "\xA1\xA4\xA6\xA1\xA7\xA1\xA8\xA4"},  // · Α А à
        {"lead byte at the end", "ab\x81"},
        {"lead byte alone", "\xD6"},
        {"lead byte before a zero byte", AnsiString("a\x81\0z", 4)},
        {"invalid pairs", "\xFE\xD6\x70\xAA\xAA\x40\xCD\x61\xA1\x40\x81\x7F\x81\xFF"},
        {"0x80 and 0xFF alone and between characters", "\x80\xFF\xD6\xD0\x80\xD6\xD0\xFF\xD6\xD0"},
        {"zero bytes", AnsiString("\0a\0\xD6\xD0\0\0", 7)},
        {"every lead byte with every second byte", everyPair},
        {"long Chinese run", RepeatGbk("\xD6\xD0\xCE\xC4", 5000)},
        {"long run shifted by a byte alone", "\x80" + RepeatGbk("\xD6\xD0", 5000) + "\x81"},
        {"long run with an invalid pair far in", RepeatGbk("\xD6\xD0", 3000) + "\xFE\xD6" + RepeatGbk("\xCE\xC4", 3000)},
        {"long ASCII run, then Chinese", RepeatGbk("x", 10001) + "\xD6\xD0"},
        {"Chinese at every offset of a word", offsets},
    };
    // Random mixes of the bytes that matter, the same on every run.
    const unsigned char alphabet[] = {0x00, 0x0A, 0x0D, 0x24, 0x40, 0x5C, 0x61, 0x7C, 0x7E, 0x7F, 0x80,
                                      0x81, 0xA1, 0xA4, 0xB0, 0xD6, 0xD0, 0xFE, 0xFF};
    std::uint32_t seed = 936;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < 40; ++i) {
        AnsiString text(next() % 9000, '\0');
        for (char& c : text) c = static_cast<char>(alphabet[(next() >> 16) % sizeof alphabet]);
        texts.push_back({"random mix " + std::to_string(i), text});
    }
    return texts;
}

TEST(WriterBytesPosix, TheFastRoadWritesWhatThePlainOneWrites) {
    PlainDecoder plain;
    ASSERT_TRUE(plain.ok());
    for (const GbkText& t : AwkwardTexts()) {
        SCOPED_TRACE(t.what);
        const WideString units = plain.Decode(t.text);
        EXPECT_EQ(Difference(Utf8FileBytes(t.text, true), "\xEF\xBB\xBF" + Utf8UnitByUnit(units)), "");
        EXPECT_EQ(Difference(Utf8FromAnsi(t.text), Utf8UnitByUnit(units)), "");
        EXPECT_EQ(Difference(Utf16FileBytes(t.text, true),
                             "\xFF\xFE" + Utf16LowByteFirst(units.substr(0, units.find(u'\0')))),
                  "");
        EXPECT_TRUE(DecodeAnsi(t.text, AnsiPage::Thread) == units);
    }
}

// A character goes into code page 936 exactly when it comes back the same:
// iconv drops U+E0000 to U+E007F without a word, and the round trip tells.
TEST(AnsiOfUtf8Posix, TakesExactlyTheCharactersThatComeBackTheSame) {
    std::vector<std::string> wrong;
    for (unsigned long cp = 0x80; cp < 0x110000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string utf8;
        AppendUtf8CodePoint(utf8, cp);
        const AnsiString ansi = AnsiFromUtf8(utf8);
        const bool comesBack = Utf8FromAnsi(ansi) == utf8;
        AnsiString out = "x";
        const bool taken = AppendAnsiOfUtf8(out, utf8);
        if (taken != comesBack || out != (comesBack ? "x" + ansi : "x")) {
            if (wrong.size() < 10) wrong.push_back(test::Hex(utf8));
        }
    }
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace
}  // namespace kx
