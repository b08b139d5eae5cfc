#include <gtest/gtest.h>

#include <random>

#include "ReplaceAll.h"
#include "support/ReferenceReplace.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

const AnsiString kPlaceholder = "$ProjectName$";

TEST(ReplaceAll, ReplacesEveryOccurrenceLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceAll("<$ProjectName$>$ProjectName$", kPlaceholder, "demo"), "<demo>demo");
    EXPECT_EQ(ReplaceAll("aaaaa", "aa", "b"), "bba");
    EXPECT_EQ(ReplaceAll("$ProjectName$", kPlaceholder, ""), "");
}

TEST(ReplaceAll, NeverSearchesTheReplacementAgain) {
    const AnsiString name = "a$ProjectName$b";
    EXPECT_EQ(ReplaceAll("x$ProjectName$y$ProjectName$", kPlaceholder, name),
              "xa$ProjectName$bya$ProjectName$b");
}

TEST(ReplaceAll, LeavesOtherSpellingsAlone) {
    for (const AnsiString text : {"$PROJECTNAME$", "$projectname$", "$ProjectName", "ProjectName$", ""}) {
        EXPECT_EQ(ReplaceAll(text, kPlaceholder, "demo"), text);
    }
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(ReplaceAll, MatchesOnlyOnCharacterBoundaries) {
    // 0x5C and 0x40 are also second bytes of double-byte characters: 乗 is 81 5C.
    EXPECT_EQ(ReplaceAll("\x81\x5C\x5C", "\\", "/"), "\x81\x5C/");
    EXPECT_EQ(ReplaceAll("\xB0@A@A", "@A", "#"), "\xB0@A#");
    // Behind an occurrence the search starts afresh, so a lone lead byte right
    // after one is a character of its own.
    EXPECT_EQ(ReplaceAll("\x81\x81\x81", "\x81", "-"), "---");
    // A Chinese replacement goes in as its two-byte sequences.
    EXPECT_EQ(ReplaceAll("[$ProjectName$]", kPlaceholder, "\xD6\xD0\xCE\xC4"), "[\xD6\xD0\xCE\xC4]");
}

TEST(ReplaceAll, StopsSearchingAtTheFirstZeroByte) {
    const AnsiString text("$ProjectName$\0$ProjectName$", 27);
    EXPECT_EQ(ReplaceAll(text, kPlaceholder, "x"), AnsiString("x\0$ProjectName$", 15));
    EXPECT_EQ(ReplaceAll(AnsiString("ab\0cab", 6), "ab", "-"), AnsiString("-\0cab", 5));
}

TEST(ReplaceAll, AgreesWithTheObviousAlgorithmOnRandomGbkText) {
    // Small alphabets make boundaries, partial matches and lead bytes collide often.
    const std::string alphabet = std::string("ab$\\@\x81\xB0\xD6\xFE", 9);
    std::mt19937 random(20261208);
    auto randomText = [&](std::size_t maxLength) {
        std::string text(random() % (maxLength + 1), ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        if (random() % 8 == 0 && !text.empty()) text[random() % text.size()] = '\0';
        return text;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string text = randomText(24);
        std::string pattern = randomText(3);
        if (pattern.empty()) pattern = "a";
        const std::string replacement = randomText(3);
        // The reference reads bytes its own way; the program takes them as GBK text.
        ASSERT_EQ(ReplaceAll(AsGbk(text), AsGbk(pattern), AsGbk(replacement)),
                  AsGbk(test::ReferenceReplaceAll(text, pattern, replacement)))
            << "round " << round;
    }
}

}  // namespace
}  // namespace kx
