// NewGuidText and the GUID text layout.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "GuidText.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

bool HasGuidShape(const AnsiString& text) {
    if (text.size() != 38) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::size_t position = i + 1;  // 1-based positions
        if (position == 1) {
            if (c != '{') return false;
        } else if (position == 38) {
            if (c != '}') return false;
        } else if (position == 10 || position == 15 || position == 20 || position == 25) {
            if (c != '-') return false;
        } else if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

TEST(GuidText, FieldsAreWrittenMostSignificantDigitFirst) {
    const GuidFields guid{0x0123ABCDu, 0x4567u, 0x89EFu, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
    EXPECT_EQ(FormatGuidText(guid), "{0123ABCD-4567-89EF-FEDC-BA9876543210}");
}

TEST(GuidText, ZeroGuid) {
    EXPECT_EQ(FormatGuidText(GuidFields{}), "{00000000-0000-0000-0000-000000000000}");
}

TEST(GuidText, BytesInWindowsMemoryLayout) {
    const unsigned char bytes[16] = {0x67, 0x45, 0x23, 0x01, 0xAB, 0x89, 0xEF, 0xCD,
                                     0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(FormatGuidText(GuidFromBytes(bytes)), "{01234567-89AB-CDEF-0123-456789ABCDEF}");
}

TEST(GuidText, RandomGuidCarriesVersionFourAndTheVariant) {
    unsigned char ones[16];
    for (unsigned char& b : ones) b = 0xFF;
    EXPECT_EQ(FormatGuidText(RandomGuid(ones)), "{FFFFFFFF-FFFF-4FFF-BFFF-FFFFFFFFFFFF}");
    const unsigned char zeros[16] = {};
    EXPECT_EQ(FormatGuidText(RandomGuid(zeros)), "{00000000-0000-4000-8000-000000000000}");
}

TEST(NewGuidText, HasTheThirtyEightCharacterShape) {
    for (int i = 0; i < 100; ++i) {
        const AnsiString text = NewGuidText();
        EXPECT_TRUE(HasGuidShape(text)) << text;
    }
}

TEST(NewGuidText, NeverHoldsLowerCaseLetters) {
    for (int i = 0; i < 100; ++i) {
        const AnsiString text = NewGuidText();
        for (char c : text) EXPECT_FALSE(c >= 'a' && c <= 'z') << text;
    }
}

TEST(NewGuidText, TwoCallsGiveDifferentTexts) { EXPECT_NE(NewGuidText(), NewGuidText()); }

TEST(NewGuidText, ThousandCallsAreAllDifferent) {
    std::set<AnsiString> seen;
    for (int i = 0; i < 1000; ++i) seen.insert(NewGuidText());
    EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace kx
