// The error display's texts: the full-stop rule and the application title.
#include "ErrorText.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace kx::layout {
namespace {

TEST(ErrorBoxText, AppendsAFullStopAfterLettersDigitsAndColons) {
    EXPECT_EQ(ErrorBoxText("abc"), "abc.");
    EXPECT_EQ(ErrorBoxText("code 5"), "code 5.");
    EXPECT_EQ(ErrorBoxText("reason:"), "reason:.");
    EXPECT_EQ(ErrorBoxText("x/"), "x/.");  // "/" is 0x2F, just above "."
}

TEST(ErrorBoxText, LeavesPunctuationBlanksAndControlsAlone) {
    EXPECT_EQ(ErrorBoxText("done."), "done.");
    EXPECT_EQ(ErrorBoxText("stop!"), "stop!");
    EXPECT_EQ(ErrorBoxText("(see above)"), "(see above)");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText("trailing "), "trailing ");
    EXPECT_EQ(ErrorBoxText("line\r\n"), "line\r\n");
    EXPECT_EQ(ErrorBoxText("Cannot create file \"C:\\x\". "), "Cannot create file \"C:\\x\". ");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorBoxText, TrailingDoubleByteCharacterGainsAFullStop) {
    // "拒绝访问。" ends in the full-width full stop A1 A3.
    EXPECT_EQ(ErrorBoxText("\xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xA1\xA3"),
              "\xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xA1\xA3.");
    // 0x40 as a trail byte is part of the character, not an "@" of its own.
    EXPECT_EQ(ErrorBoxText("x\x81\x40"), "x\x81\x40.");
    // A trail byte 0x2D ("-" when alone) still ends a double-byte character.
    EXPECT_EQ(ErrorBoxText("x\x81\x2D"), "x\x81\x2D.");
    // A lone lead byte at the end counts as a character of its own.
    EXPECT_EQ(ErrorBoxText("x\x81"), "x\x81.");
}

TEST(ModuleBaseName, CutsThePathAndEverythingFromTheFirstDot) {
    EXPECT_EQ(ModuleBaseName("C:\\tools\\ProjectMaker.exe"), "ProjectMaker");
    EXPECT_EQ(ModuleBaseName("C:\\tools\\Gen.old.exe"), "Gen");
    EXPECT_EQ(ModuleBaseName("C:\\a.b\\Plain"), "Plain");
    EXPECT_EQ(ModuleBaseName("NoFolder.exe"), "NoFolder");
}

TEST(ModuleBaseName, TrailByte5CIsNoSeparator) {
    // "C:\表\x.exe" where 表 is B1 ED, and "C:\\\xD5\x5C.exe": 0x5C as a trail byte.
    EXPECT_EQ(ModuleBaseName("C:\\\xB1\xED\\x.exe"), "x");
    EXPECT_EQ(ModuleBaseName("C:\\dir\\\xD5\x5C.exe"), "\xD5\x5C");
}

}  // namespace
}  // namespace kx::layout
