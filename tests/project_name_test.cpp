#include <gtest/gtest.h>

#include "ProjectName.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

TEST(ProjectName, DefaultIsWpxAndTheDate) {
    EXPECT_EQ(DefaultProjectName({2026, 12, 7}), "wpx2026_12_07");
    EXPECT_EQ(DefaultProjectName({2027, 1, 31}), "wpx2027_01_31");
}

TEST(ProjectName, TrimsOnlyBytesBelow33) {
    EXPECT_EQ(TrimName("  demo  "), "demo");
    EXPECT_EQ(TrimName("\t \r\n\x01" "a b\x1F "), "a b");
    EXPECT_EQ(TrimName(" \t \t "), "");
    // A full-width space (A1 A1) is a character, not a blank.
    EXPECT_EQ(TrimName("\xA1\xA1" "demo\xA1\xA1 "), "\xA1\xA1" "demo\xA1\xA1");
}

TEST(ProjectName, EmptyAfterTrimmingIsItsOwnVerdict) {
    EXPECT_EQ(CheckProjectName(""), NameVerdict::Empty);
}

TEST(ProjectName, PathsAreRefused) {
    for (const char* name : {"a\\b", "c:x", "\\", "demo\\", ":"}) {
        EXPECT_EQ(CheckProjectName(name), NameVerdict::Malformed) << name;
    }
}

TEST(ProjectName, NamesThatWouldNotMakeANewChildFolderAreRefused) {
    for (const char* name : {".", "..", "...", "demo.", "a/b", "/", "../x"}) {
        EXPECT_EQ(CheckProjectName(name), NameVerdict::Malformed) << name;
    }
}

TEST(ProjectName, NamesThatWouldSpillIntoAnotherFolderAreRefused) {
    // "\\" joined after a lone lead byte becomes its second byte, not a separator.
    EXPECT_EQ(CheckProjectName("ab\x81"), NameVerdict::Malformed);
    EXPECT_EQ(CheckProjectName("\xD6\xD0\xD4"), NameVerdict::Malformed);
    // The file calls would stop at the zero byte and find the sibling.
    EXPECT_EQ(CheckProjectName(AnsiString("sibling\0x", 9)), NameVerdict::Malformed);
    EXPECT_EQ(CheckProjectName("\xD6\xD0\xD4\xDA"), NameVerdict::Usable);
}

TEST(ProjectName, ABackslashByteInsideADoubleByteCharacterIsNoSeparator) {
    const AnsiString name = "\x81\x5C";  // 乗
    EXPECT_EQ(FinalPathComponent(name), name);
    EXPECT_EQ(CheckProjectName(name), NameVerdict::Usable);
    EXPECT_EQ(FinalPathComponent("x\\\x81\x5C"), "\x81\x5C");
}

TEST(ProjectName, OtherNamesPassAndFailLaterIfTheFolderCannotBeMade) {
    for (const char* name : {"demo", "a*b", "a?b", "<x>", "a|b", "\"q\"", ".hidden", "a.b", "$ProjectName$",
                             "\xD6\xD0\xCE\xC4"}) {
        EXPECT_EQ(CheckProjectName(name), NameVerdict::Usable) << name;
    }
}

}  // namespace
}  // namespace kx
