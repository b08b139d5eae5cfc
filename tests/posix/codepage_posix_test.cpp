// Decoding GBK on POSIX: an invalid sequence costs one replacement character
// for its first byte only, and decoding goes on from the very next byte, even
// where that byte was the second half of the invalid pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodePage.h"

namespace kx {
namespace {

struct DecodeCase {
    const char* what;
    std::string ansi;
    WideString wide;
};

TEST(DecodeAnsiPosix, InvalidSequencesResynchroniseOnTheNextByte) {
    const std::vector<DecodeCase> cases = {
        {"invalid pair, then a pair", "\xFE\xD6\x70", u"\uFFFD\u8B15"},
        {"invalid pair in Chinese text", "\xAA\xAA\x40\xCD\x61", u"\uFFFD\u72DC\u86A2"},
        {"lead byte before a space", "a\x81 b", u"a\uFFFD b"},
        {"lead byte before a zero byte", std::string("\x81\0z", 3), WideString{0xFFFD, 0, u'z'}},
        {"lead byte at the end", "ab\x81", u"ab\uFFFD"},
        {"byte FF between characters", "\xD6\xD0\xFF\xD6\xD0", u"\u4E2D\uFFFD\u4E2D"},
        {"trail byte 5C", "x\x81\x5C\\y", u"x\u4E57\\y"},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(DecodeAnsi(c.ansi, AnsiPage::System), c.wide) << c.what;
        EXPECT_EQ(DecodeAnsi(c.ansi, AnsiPage::Thread), c.wide) << c.what;
    }
}

}  // namespace
}  // namespace kx
