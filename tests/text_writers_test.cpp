// AnsiToWideText, SaveUtf8File, SaveUtf16File, their errors and the
// content rules beneath them.
#include <gtest/gtest.h>

#include <string>

#include "TextContent.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::Hex;
using test::TempFolder;

std::string Bytes(const AnsiString& path) { return test::ReadFileBytes(path).value_or("<missing>"); }

std::string CreateErrorPrefix(const AnsiString& path) { return "Cannot create file \"" + path + "\". "; }

// ---- content rules ------------------------------------------------------------

TEST(Utf8Unit, EachUnitIsEncodedByItself) {
    const auto enc = [](char16_t unit) {
        std::string out;
        AppendUtf8Unit(out, unit);
        return Hex(out);
    };
    EXPECT_EQ(enc(0x0000), "00");
    EXPECT_EQ(enc(0x0041), "41");
    EXPECT_EQ(enc(0x007F), "7F");
    EXPECT_EQ(enc(0x0080), "C2 80");
    EXPECT_EQ(enc(0x07FF), "DF BF");
    EXPECT_EQ(enc(0x0800), "E0 A0 80");
    EXPECT_EQ(enc(0x4E2D), "E4 B8 AD");  // 中
    EXPECT_EQ(enc(0xFFFF), "EF BF BF");
    EXPECT_EQ(enc(0xD83D), "ED A0 BD");  // a surrogate unit on its own
}

TEST(SystemErrorText, TrailingBlanksControlsAndFullStopsAreTrimmed) {
    const auto trim = [](const std::string& s) { return TrimSystemErrorText(s.data(), s.size()); };
    EXPECT_EQ(trim("Access is denied.\r\n"), "Access is denied");
    EXPECT_EQ(trim("The system cannot find the path specified. \r\n"),
              "The system cannot find the path specified");
    EXPECT_EQ(trim("Odd . . \t.\r\n"), "Odd");
    EXPECT_EQ(trim("No trim"), "No trim");
    EXPECT_EQ(trim(" \r\n."), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("v1.2 is bad"), "v1.2 is bad");
    EXPECT_EQ(trim("\xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xA1\xA3\r\n"), "\xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xA1\xA3");
    const std::string withZero("Stop\0hidden", 11);
    EXPECT_EQ(trim(withZero), "Stop");
}

TEST(CreateErrorMessage, PathFirstThenSystemText) {
    const EFCreateError error("C:\\work\\demo\\demo.kxproj", "Access is denied");
    EXPECT_EQ(error.Message(), "Cannot create file \"C:\\work\\demo\\demo.kxproj\". Access is denied");
    EXPECT_STREQ(error.what(), error.Message().c_str());
}

TEST(CreateErrorMessage, WriteErrorText) { EXPECT_EQ(EWriteError().Message(), "Stream write error"); }

TEST(CreateErrorMessage, FullPathOnlyWhenItFittedTheBuffer) {
    char buffer[kFullPathBufferSize] = "C:\\full\\x.txt";
    EXPECT_EQ(PathForCreateMessage("x.txt", buffer, sizeof buffer, 13), "C:\\full\\x.txt");
    // The call failed, or asked for a bigger buffer: the path as passed.
    EXPECT_EQ(PathForCreateMessage("x.txt", buffer, sizeof buffer, 0), "x.txt");
    EXPECT_EQ(PathForCreateMessage("x.txt", buffer, sizeof buffer, 260), "x.txt");
    EXPECT_EQ(PathForCreateMessage("x.txt", buffer, sizeof buffer, 4000), "x.txt");
    EXPECT_EQ(PathForCreateMessage("x.txt", nullptr, 0, 5), "x.txt");
}

TEST(CreateErrorMessage, FullPathOf259BytesFitsAndNeverReadsFurther) {
    char buffer[kFullPathBufferSize];
    for (char& c : buffer) c = 'p';
    buffer[259] = '\0';
    EXPECT_EQ(PathForCreateMessage("x", buffer, sizeof buffer, 259), std::string(259, 'p'));
}

// ---- AnsiToWideText -----------------------------------------------------------

TEST(AnsiToWideText, EmptyTextGivesEmptyText) { EXPECT_EQ(AnsiToWideText(""), u""); }

TEST(AnsiToWideText, AsciiAndGbk) {
    EXPECT_EQ(AnsiToWideText("abc"), u"abc");
    EXPECT_EQ(AnsiToWideText("\xD6\xD0"), u"\u4E2D");                    // 中
    EXPECT_EQ(AnsiToWideText("KX\xCF\xEE\xC4\xBF"), u"KX\u9879\u76EE");  // KX项目
    EXPECT_EQ(AnsiToWideText("\x81\x5C"), u"\u4E57");                    // 乗
}

TEST(AnsiToWideText, StopsAtTheFirstZeroByte) {
    EXPECT_EQ(AnsiToWideText(std::string("ab\0cd", 5)), u"ab");
    EXPECT_EQ(AnsiToWideText(std::string("\0x", 2)), u"");
}

TEST(AnsiToWideText, BadBytesNeverThrowNorLoseWhatFollows) {
    // A lead byte at the very end, and one before a zero byte.
    const WideString end = AnsiToWideText("ab\x81");
    EXPECT_EQ(end.substr(0, 2), u"ab");
    EXPECT_LE(end.size(), 3u);
    EXPECT_EQ(AnsiToWideText(std::string("a\x81\0b", 4)).substr(0, 1), u"a");
}

// ---- the writers: exact bytes -------------------------------------------------

TEST(SaveUtf8File, AbcWithBom) {
    TempFolder folder;
    const auto path = folder.Child("a.txt");
    SaveUtf8File(path, "abc", true);
    EXPECT_EQ(Hex(Bytes(path)), "EF BB BF 61 62 63");
}

TEST(SaveUtf8File, AbcWithoutBom) {
    TempFolder folder;
    const auto path = folder.Child("a.txt");
    SaveUtf8File(path, "abc", false);
    EXPECT_EQ(Hex(Bytes(path)), "61 62 63");
}

TEST(SaveUtf16File, AbcWithBom) {
    TempFolder folder;
    const auto path = folder.Child("a.txt");
    SaveUtf16File(path, "abc", true);
    EXPECT_EQ(Hex(Bytes(path)), "FF FE 61 00 62 00 63 00");
}

TEST(SaveUtf16File, AbcWithoutBom) {
    TempFolder folder;
    const auto path = folder.Child("a.txt");
    SaveUtf16File(path, "abc", false);
    EXPECT_EQ(Hex(Bytes(path)), "61 00 62 00 63 00");
}

TEST(SaveUtf8File, GbkCharacterBecomesUtf8) {
    TempFolder folder;
    const auto path = folder.Child("zh.txt");
    SaveUtf8File(path, "\xD6\xD0", false);  // 中
    EXPECT_EQ(Hex(Bytes(path)), "E4 B8 AD");
}

TEST(SaveUtf16File, GbkCharacterBecomesUtf16) {
    TempFolder folder;
    const auto path = folder.Child("zh.txt");
    SaveUtf16File(path, "\xD6\xD0", false);  // 中
    EXPECT_EQ(Hex(Bytes(path)), "2D 4E");
}

TEST(SaveUtf8File, TrailByte5CIsPartOfTheCharacter) {
    TempFolder folder;
    const auto path = folder.Child("jo.txt");
    SaveUtf8File(path, "\x81\x5C\\", true);  // 乗 then a real backslash
    EXPECT_EQ(Hex(Bytes(path)), "EF BB BF E4 B9 97 5C");
}

TEST(SaveUtf16File, TrailByte5CIsPartOfTheCharacter) {
    TempFolder folder;
    const auto path = folder.Child("jo.txt");
    SaveUtf16File(path, "\x81\x5C\\", true);
    EXPECT_EQ(Hex(Bytes(path)), "FF FE 57 4E 5C 00");
}

TEST(SaveUtf8File, LineBreaksStayAndNoneIsAdded) {
    TempFolder folder;
    const auto path = folder.Child("crlf.txt");
    SaveUtf8File(path, "a\r\nb", false);
    EXPECT_EQ(Hex(Bytes(path)), "61 0D 0A 62");
}

TEST(SaveUtf16File, LineBreaksStayAndNoneIsAdded) {
    TempFolder folder;
    const auto path = folder.Child("crlf.txt");
    SaveUtf16File(path, "a\r\nb", false);
    EXPECT_EQ(Hex(Bytes(path)), "61 00 0D 00 0A 00 62 00");
}

TEST(SaveUtf8File, ZeroByteInTheMiddleIsWrittenWithWhatFollows) {
    TempFolder folder;
    const auto path = folder.Child("zero.txt");
    SaveUtf8File(path, std::string("ab\0c\xD6\xD0", 6), true);
    EXPECT_EQ(Hex(Bytes(path)), "EF BB BF 61 62 00 63 E4 B8 AD");
}

TEST(SaveUtf16File, ZeroByteInTheMiddleEndsTheContent) {
    TempFolder folder;
    const auto path = folder.Child("zero.txt");
    SaveUtf16File(path, std::string("ab\0cd", 5), true);
    EXPECT_EQ(Hex(Bytes(path)), "FF FE 61 00 62 00");
}

TEST(SaveUtf16File, LeadingZeroByteWithoutBomGivesAnEmptyFile) {
    TempFolder folder;
    const auto path = folder.Child("zero.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "old content"));
    SaveUtf16File(path, std::string("\0abc", 4), false);
    EXPECT_EQ(Bytes(path), "");
}

TEST(SaveUtf8File, LongerExistingFileIsReplacedCompletely) {
    TempFolder folder;
    const auto path = folder.Child("long.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, std::string(4096, 'z')));
    SaveUtf8File(path, "abc", true);
    EXPECT_EQ(Hex(Bytes(path)), "EF BB BF 61 62 63");
}

TEST(SaveUtf16File, LongerExistingFileIsReplacedCompletely) {
    TempFolder folder;
    const auto path = folder.Child("long.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, std::string(4096, 'z')));
    SaveUtf16File(path, "abc", true);
    EXPECT_EQ(Hex(Bytes(path)), "FF FE 61 00 62 00 63 00");
}

TEST(SaveUtf8File, ChineseFileNameIsCreated) {
    TempFolder folder;
    const std::string name = "\xD6\xF7\xBD\xC5\xB1\xBE.txt";  // 主脚本.txt
    SaveUtf8File(folder.Child(name), "x", false);
    EXPECT_EQ(test::ListFolder(folder.Path()), std::vector<std::string>{name});
    EXPECT_EQ(Bytes(folder.Child(name)), "x");
}

TEST(SaveUtf8File, LargeTextIsWrittenWhole) {
    TempFolder folder;
    const auto path = folder.Child("large.txt");
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "\xD6\xD0";
    SaveUtf8File(path, text, false);
    const std::string bytes = Bytes(path);
    ASSERT_EQ(bytes.size(), 300000u);
    EXPECT_EQ(bytes.substr(0, 3), "\xE4\xB8\xAD");
}

// ---- empty text -------------------------------------------------------------

TEST(SaveUtf8File, EmptyTextCreatesNoFile) {
    TempFolder folder;
    const auto path = folder.Child("none.txt");
    SaveUtf8File(path, "", true);
    EXPECT_FALSE(test::PathExists(path));
}

TEST(SaveUtf16File, EmptyTextCreatesNoFile) {
    TempFolder folder;
    const auto path = folder.Child("none.txt");
    SaveUtf16File(path, "", true);
    EXPECT_FALSE(test::PathExists(path));
}

TEST(SaveUtf8File, EmptyTextLeavesAnExistingFileAndItsTimeAlone) {
    TempFolder folder;
    const auto path = folder.Child("keep.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "keep"));
    ASSERT_TRUE(test::SetModifiedTime(path, 1000000000));
    SaveUtf8File(path, "", true);
    SaveUtf16File(path, "", true);
    EXPECT_EQ(Bytes(path), "keep");
    EXPECT_EQ(test::ModifiedTime(path).value_or(0), 1000000000);
}

TEST(SaveUtf8File, EmptyTextInAMissingFolderRaisesNothing) {
    TempFolder folder;
    EXPECT_NO_THROW(SaveUtf8File(folder.Child("missing\\x.txt"), "", true));
    EXPECT_NO_THROW(SaveUtf16File(folder.Child("missing\\x.txt"), "", true));
}

// ---- creation errors ------------------------------------------------------------

template <typename Writer>
std::string CreateErrorOf(Writer writer, const AnsiString& path) {
    try {
        writer(path, "abc", true);
    } catch (const EFCreateError& error) {
        return error.Message();
    } catch (const std::exception& other) {
        return std::string("unexpected error: ") + other.what();
    }
    return "no error";
}

TEST(SaveUtf8File, MissingFolderRaisesTheCreationErrorWithThePathFirst) {
    TempFolder folder;
    const auto missing = folder.Child("missing");
    const auto path = test::JoinPath(missing, "x.txt");
    const std::string message = CreateErrorOf(SaveUtf8File, path);
    EXPECT_EQ(message.rfind(CreateErrorPrefix(path), 0), 0u) << message;
    EXPECT_GT(message.size(), CreateErrorPrefix(path).size()) << "the system's text is missing";
    EXPECT_FALSE(test::PathExists(missing));
}

TEST(SaveUtf16File, MissingFolderRaisesTheCreationErrorWithThePathFirst) {
    TempFolder folder;
    const auto missing = folder.Child("missing");
    const auto path = test::JoinPath(missing, "x.txt");
    const std::string message = CreateErrorOf(SaveUtf16File, path);
    EXPECT_EQ(message.rfind(CreateErrorPrefix(path), 0), 0u) << message;
    EXPECT_FALSE(test::PathExists(missing));
}

TEST(SaveUtf8File, SystemTextHasNoTrailingFullStopOrLineBreak) {
    TempFolder folder;
    const std::string message = CreateErrorOf(SaveUtf8File, folder.Child("missing\\x.txt"));
    ASSERT_FALSE(message.empty());
    const auto last = static_cast<unsigned char>(message.back());
    EXPECT_NE(last, '.');
    EXPECT_GE(last, 0x21);
}

TEST(SaveUtf8File, ReadOnlyFileRaisesTheCreationErrorAndStaysUnchanged) {
    TempFolder folder;
    const auto path = folder.Child("readonly.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    ASSERT_TRUE(test::SetReadOnly(path, true));
    if (test::PlatformIgnoresReadOnly(path)) GTEST_SKIP() << "this platform writes read-only files (Wine as root)";
    EXPECT_EQ(CreateErrorOf(SaveUtf8File, path).rfind(CreateErrorPrefix(path), 0), 0u);
    EXPECT_EQ(CreateErrorOf(SaveUtf16File, path).rfind(CreateErrorPrefix(path), 0), 0u);
    EXPECT_EQ(Bytes(path), "original");
    test::SetReadOnly(path, false);
}

TEST(SaveUtf8File, FolderInPlaceOfTheFileRaisesTheCreationError) {
    TempFolder folder;
    const auto path = folder.Child("taken");
    ASSERT_TRUE(test::MakeFolder(path));
    EXPECT_EQ(CreateErrorOf(SaveUtf8File, path).rfind(CreateErrorPrefix(path), 0), 0u);
    EXPECT_TRUE(test::FolderExists(path));
}

TEST(SaveUtf8File, PathOf260BytesOrMoreIsShownAsPassed) {
    TempFolder folder;
    const auto path = folder.Child(std::string(300, 'd') + "\\" + std::string(20, 'f') + ".txt");
    ASSERT_GE(path.size(), 260u);
    const std::string message = CreateErrorOf(SaveUtf8File, path);
    EXPECT_EQ(message.rfind(CreateErrorPrefix(path), 0), 0u) << message;
}

TEST(SaveUtf8File, PathsNamingAnotherFileRaiseTheCreationErrorAndCreateNothing) {
    // Through the ANSI calls each would have written "sub" or "a.txt".
    TempFolder folder;
    for (const std::string& path : {folder.Child(std::string("sub\0x", 5) + "\\a.txt"), folder.Child("a.txt\x81"),
                                    folder.Child(std::string("a.txt\0x", 7))}) {
        SCOPED_TRACE(Hex(path));
        EXPECT_EQ(CreateErrorOf(SaveUtf8File, path), CreateErrorOf(SaveUtf16File, path));
        const std::string message = CreateErrorOf(SaveUtf8File, path);
        EXPECT_EQ(message.rfind(CreateErrorPrefix(path), 0), 0u) << message;
    }
    EXPECT_EQ(test::ListFolder(folder.Path()), std::vector<std::string>{});
}

TEST(CreateErrorMessage, PathThatIsNotIntactIsShownAsPassed) {
    char buffer[kFullPathBufferSize] = "C:\\full\\x.txt";
    const std::string zero("x.txt\0y", 7);
    EXPECT_EQ(PathForCreateMessage(zero, buffer, sizeof buffer, 13), zero);
    EXPECT_EQ(PathForCreateMessage("x.txt\x81", buffer, sizeof buffer, 13), "x.txt\x81");
}

TEST(SaveUtf8File, ContentIsWrittenWhenTheFileIsCreatedInAChineseFolder) {
    TempFolder folder;
    const auto sub = folder.Child("KX\xCF\xEE\xC4\xBF");  // KX项目
    ASSERT_TRUE(test::MakeFolder(sub));
    const auto path = test::JoinPath(sub, "demo.kxproj");
    SaveUtf8File(path, "abc", true);
    EXPECT_EQ(Hex(Bytes(path)), "EF BB BF 61 62 63");
}

}  // namespace
}  // namespace kx
