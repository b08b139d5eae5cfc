// AnsiToWideText, SaveUtf8File, SaveUtf16File, their errors and the
// content rules beneath them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TextContent.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"
#include "support/TextMatchers.h"

namespace kx {
namespace {

using test::StartsWith;

using test::CreateErrorStart;
using test::Hex;
using test::kTextWriters;
using test::NamedWriter;
using test::TempFolder;
using test::TextWriter;
using test::WriterErrorOf;

std::string Bytes(const AnsiString& path) { return test::ReadFileBytes(path).value_or("<missing>"); }

// ---- content rules ------------------------------------------------------------

TEST(Utf8Unit, EachUnitIsEncodedByItself) {
    const std::pair<char16_t, const char*> cases[] = {
        {0x0000, "00"},       {0x0041, "41"},       {0x007F, "7F"},
        {0x0080, "C2 80"},    {0x07FF, "DF BF"},    {0x0800, "E0 A0 80"},
        {0x4E2D, "E4 B8 AD"},  // 中
        {0xFFFF, "EF BF BF"},
        {0xD83D, "ED A0 BD"},  // a surrogate unit on its own
    };
    for (const auto& [unit, hex] : cases) {
        std::string out;
        AppendUtf8Unit(out, unit);
        EXPECT_EQ(Hex(out), hex) << "unit " << static_cast<unsigned>(unit);
    }
}

TEST(Utf8Unit, EveryUnitReadsBackAndNothingElseDoes) {
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        std::string out;
        AppendUtf8Unit(out, static_cast<char16_t>(u));
        out += 'x';
        char16_t unit = 0;
        ASSERT_EQ(Utf8UnitAt(out, 0, &unit), out.size() - 1) << "unit " << u;
        ASSERT_EQ(unit, u);
    }
    const char* const none[] = {
        "\x80",              // a continuation byte alone
        "\xC1\xBF",          // an overlong two-byte form
        "\xE0\x9F\xBF",      // an overlong three-byte form
        "\xE4\xB8",          // cut short
        "\xE4\x41\xAD",      // a lead without its continuation
        "\xF0\x9F\x98\x80",  // four bytes: a character, no unit
    };
    for (const char* bytes : none) {
        char16_t unit = 0;
        EXPECT_EQ(Utf8UnitAt(bytes, 0, &unit), 0u) << Hex(std::string(bytes));
    }
}

TEST(SystemErrorText, TrailingBlanksControlsAndFullStopsAreTrimmed) {
    const std::pair<AnsiString, AnsiString> cases[] = {
        {"Access is denied.\r\n", "Access is denied"},
        {"The system cannot find the path specified. \r\n", "The system cannot find the path specified"},
        {"Odd . . \t.\r\n", "Odd"},
        {"No trim", "No trim"},
        {" \r\n.", ""},
        {"", ""},
        {"v1.2 is bad", "v1.2 is bad"},
        {"\xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xA1\xA3\r\n", "\xBE\xDC\xBE\xF8\xB7\xC3\xCE\xCA\xA1\xA3"},
        {AnsiString("Stop\0hidden", 11), "Stop"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(TrimSystemErrorText(text.data(), text.size()), expected) << Hex(text);
    }
}

TEST(CreateErrorMessage, PathFirstThenSystemText) {
    const EFCreateError error("C:\\work\\demo\\demo.kxproj", "Access is denied");
    EXPECT_EQ(error.Message(), "Cannot create file \"C:\\work\\demo\\demo.kxproj\". Access is denied");
    EXPECT_STREQ(error.what(), error.Message().c_str());
}

TEST(CreateErrorMessage, WriteErrorText) { EXPECT_EQ(EWriteError().Message(), "Stream write error"); }

TEST(CreateErrorMessage, FullPathOnlyWhenItFittedTheBufferAndThePathIsIntact) {
    char buffer[kFullPathBufferSize] = "C:\\full\\x.txt";
    struct Case {
        AnsiString passed;
        const char* fullPath;
        unsigned long returned;
        AnsiString shown;
    };
    const AnsiString zero("x.txt\0y", 7);
    const Case cases[] = {
        {"x.txt", buffer, 13, "C:\\full\\x.txt"},
        // The call failed, or asked for a bigger buffer: the path as passed.
        {"x.txt", buffer, 0, "x.txt"},
        {"x.txt", buffer, 260, "x.txt"},
        {"x.txt", buffer, 4000, "x.txt"},
        {"x.txt", nullptr, 5, "x.txt"},
        // The platform made the full path of another one.
        {zero, buffer, 13, zero},
        {"x.txt\x81", buffer, 13, "x.txt\x81"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.passed) + " returned " + std::to_string(c.returned));
        EXPECT_EQ(PathForCreateMessage(c.passed, c.fullPath, c.fullPath ? sizeof buffer : 0, c.returned), c.shown);
    }
}

TEST(CreateErrorMessage, FullPathOf259BytesFitsAndNeverReadsFurther) {
    char buffer[kFullPathBufferSize];
    for (char& c : buffer) c = 'p';
    buffer[259] = '\0';
    EXPECT_EQ(PathForCreateMessage("x", buffer, sizeof buffer, 259), AnsiString(259, 'p'));
}

// ---- AnsiToWideText -----------------------------------------------------------

TEST(AnsiToWideText, DecodesGbkUpToTheFirstZeroByte) {
    const std::pair<AnsiString, WideString> cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {"\xD6\xD0", u"\u4E2D"},                    // 中
        {"KX\xCF\xEE\xC4\xBF", u"KX\u9879\u76EE"},  // KX项目
        {"\x81\x5C", u"\u4E57"},                    // 乗
        {AnsiString("ab\0cd", 5), u"ab"},
        {AnsiString("\0x", 2), u""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(AnsiToWideText(text), expected) << Hex(text);
}

TEST(AnsiToWideText, BadBytesNeverThrowNorLoseWhatFollows) {
    // A lead byte at the very end, and one before a zero byte.
    const WideString end = AnsiToWideText("ab\x81");
    EXPECT_EQ(end.substr(0, 2), u"ab");
    EXPECT_LE(end.size(), 3u);
    EXPECT_EQ(AnsiToWideText(AnsiString("a\x81\0b", 4)).substr(0, 1), u"a");
}

// ---- the UTF-8 writer's bytes, given in pieces --------------------------------

// Pieces cut where characters end give the bytes of the whole text, however
// they fall against the batches the pieces are gathered in.
TEST(Utf8FileBytesInPieces, GiveTheBytesOfTheWholeText) {
    const auto repeat = [](std::string_view unit, std::size_t times) {
        AnsiString text;
        for (std::size_t i = 0; i < times; ++i) text += AsGbk(unit);
        return text;
    };
    const AnsiString mixed = AsGbk("ab\xD6\xD0\x81\x5C\\\r\n");  // 中 乗 (trail byte 5C) backslash
    struct Case {
        const char* what;
        std::vector<AnsiString> pieces;
        bool withBom;
    };
    const Case cases[] = {
        {"one piece", {mixed}, true},
        {"a piece a character", {"a", "b", "\xD6\xD0", "\x81\x5C", "\\", "\r\n"}, true},
        {"empty pieces between", {"", mixed, "", mixed, ""}, false},
        {"a zero byte and what follows it", {AsGbk(std::string_view("x\0y", 3)), "\xD6\xD0"}, true},
        {"small pieces past a batch", std::vector<AnsiString>(20000, mixed), true},
        {"a piece larger than a batch between small ones", {mixed, repeat("\xD6\xD0z", 30000), mixed}, true},
        {"a piece that just fills a batch", {repeat("a", 64 * 1024 - 1), "\xD6\xD0", mixed}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnsiString whole;
        for (const AnsiString& piece : c.pieces) whole += piece;
        const std::string expected = Utf8FileBytes(whole, c.withBom);
        for (const std::size_t sizeHint : {std::size_t{0}, whole.size()}) {
            Utf8FileBytesInPieces inPieces(c.withBom, sizeHint);
            for (const AnsiString& piece : c.pieces) inPieces.Append(piece);
            const std::string bytes = inPieces.Finish();
            ASSERT_EQ(bytes.size(), expected.size()) << "size hint " << sizeHint;
            EXPECT_TRUE(bytes == expected) << "size hint " << sizeHint;
        }
    }
    // No text, no file: as Utf8FileBytes gives nothing for an empty text.
    Utf8FileBytesInPieces empty(true, 0);
    empty.Append("");
    EXPECT_EQ(empty.Finish(), "");
}

// ---- the writers: exact bytes -------------------------------------------------

TEST(TextWriters, ExactBytes) {
    struct Case {
        const char* what;
        TextWriter write;
        AnsiString text;
        bool withBom;
        std::optional<std::string> existing;  // the file's content before
        const char* hex;
    };
    const std::string longer(4096, 'z');
    const Case cases[] = {
        {"abc with BOM", SaveUtf8File, "abc", true, {}, "EF BB BF 61 62 63"},
        {"abc without BOM", SaveUtf8File, "abc", false, {}, "61 62 63"},
        {"abc with BOM", SaveUtf16File, "abc", true, {}, "FF FE 61 00 62 00 63 00"},
        {"abc without BOM", SaveUtf16File, "abc", false, {}, "61 00 62 00 63 00"},
        {"GBK 中", SaveUtf8File, "\xD6\xD0", false, {}, "E4 B8 AD"},
        {"GBK 中", SaveUtf16File, "\xD6\xD0", false, {}, "2D 4E"},
        {"乗 (trail byte 5C) then a backslash", SaveUtf8File, "\x81\x5C\\", true, {}, "EF BB BF E4 B9 97 5C"},
        {"乗 (trail byte 5C) then a backslash", SaveUtf16File, "\x81\x5C\\", true, {}, "FF FE 57 4E 5C 00"},
        {"line breaks stay, none is added", SaveUtf8File, "a\r\nb", false, {}, "61 0D 0A 62"},
        {"line breaks stay, none is added", SaveUtf16File, "a\r\nb", false, {}, "61 00 0D 00 0A 00 62 00"},
        {"zero byte in the middle is written with what follows", SaveUtf8File, AnsiString("ab\0c\xD6\xD0", 6), true,
         {}, "EF BB BF 61 62 00 63 E4 B8 AD"},
        {"zero byte in the middle ends the content", SaveUtf16File, AnsiString("ab\0cd", 5), true, {},
         "FF FE 61 00 62 00"},
        {"leading zero byte without BOM gives an empty file", SaveUtf16File, AnsiString("\0abc", 4), false,
         "old content", ""},
        {"longer existing file is replaced completely", SaveUtf8File, "abc", true, longer, "EF BB BF 61 62 63"},
        {"longer existing file is replaced completely", SaveUtf16File, "abc", true, longer,
         "FF FE 61 00 62 00 63 00"},
    };
    TempFolder folder;
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.write == SaveUtf8File ? "SaveUtf8File: " : "SaveUtf16File: ") + c.what);
        const auto path = folder.Child(AsGbk("case" + std::to_string(index++) + ".txt"));
        if (c.existing) {
            ASSERT_TRUE(test::WriteFileBytes(path, *c.existing));
        }
        c.write(path, c.text, c.withBom);
        EXPECT_EQ(Hex(Bytes(path)), c.hex);
    }
}

TEST(TextWriters, ChineseFileNameIsCreated) {
    for (const NamedWriter& writer : kTextWriters) {
        SCOPED_TRACE(writer.name);
        TempFolder folder;
        const AnsiString name = "\xD6\xF7\xBD\xC5\xB1\xBE.txt";  // 主脚本.txt
        writer.write(folder.Child(name), "x", false);
        EXPECT_EQ(test::ListFolder(folder.Path()), std::vector<AnsiString>{name});
        if (writer.write == SaveUtf8File) {
            EXPECT_EQ(Bytes(folder.Child(name)), "x");
        }
    }
}

TEST(SaveUtf8File, LargeTextIsWrittenWhole) {
    TempFolder folder;
    const auto path = folder.Child("large.txt");
    AnsiString text;
    for (int i = 0; i < 100000; ++i) text += "\xD6\xD0";
    SaveUtf8File(path, text, false);
    const std::string bytes = Bytes(path);
    ASSERT_EQ(bytes.size(), 300000u);
    EXPECT_EQ(bytes.substr(0, 3), "\xE4\xB8\xAD");
}

TEST(SaveUtf8File, ContentIsWrittenWhenTheFileIsCreatedInAChineseFolder) {
    TempFolder folder;
    const auto sub = folder.Child("KX\xCF\xEE\xC4\xBF");  // KX项目
    ASSERT_TRUE(test::MakeFolder(sub));
    const auto path = test::JoinPath(sub, "demo.kxproj");
    SaveUtf8File(path, "abc", true);
    EXPECT_EQ(Hex(Bytes(path)), "EF BB BF 61 62 63");
}

// ---- empty text -------------------------------------------------------------

TEST(TextWriters, EmptyTextTouchesNothing) {
    for (const NamedWriter& writer : kTextWriters) {
        SCOPED_TRACE(writer.name);
        TempFolder folder;
        // No file is created, not even in a folder that does not exist.
        const auto none = folder.Child("none.txt");
        writer.write(none, "", true);
        EXPECT_FALSE(test::PathExists(none));
        EXPECT_NO_THROW(writer.write(folder.Child("missing\\x.txt"), "", true));
        // An existing file keeps its content and its time.
        const auto keep = folder.Child("keep.txt");
        ASSERT_TRUE(test::WriteFileBytes(keep, "keep"));
        ASSERT_TRUE(test::SetModifiedTime(keep, 1000000000));
        writer.write(keep, "", true);
        EXPECT_EQ(Bytes(keep), "keep");
        EXPECT_EQ(test::ModifiedTime(keep).value_or(0), 1000000000);
    }
}

// ---- creation errors ------------------------------------------------------------

TEST(TextWriters, MissingFolderRaisesTheCreationErrorWithThePathFirst) {
    for (const NamedWriter& writer : kTextWriters) {
        SCOPED_TRACE(writer.name);
        TempFolder folder;
        const auto missing = folder.Child("missing");
        const auto path = test::JoinPath(missing, "x.txt");
        const AnsiString error = WriterErrorOf(writer.write, path);
        EXPECT_THAT(error, StartsWith(CreateErrorStart(path)));
        EXPECT_GT(error.size(), CreateErrorStart(path).size()) << "the system's text is missing";
        // The system's text ends without a full stop, blank or line break.
        const auto last = static_cast<unsigned char>(error.back());
        EXPECT_NE(last, '.');
        EXPECT_GE(last, 0x21);
        EXPECT_FALSE(test::PathExists(missing));
    }
}

TEST(TextWriters, ReadOnlyFileRaisesTheCreationErrorAndStaysUnchanged) {
    TempFolder folder;
    const auto path = folder.Child("readonly.txt");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    ASSERT_TRUE(test::SetReadOnly(path, true));
    if (test::PlatformIgnoresReadOnly(path)) GTEST_SKIP() << "this platform writes read-only files (Wine as root)";
    for (const NamedWriter& writer : kTextWriters) {
        EXPECT_THAT(WriterErrorOf(writer.write, path), StartsWith(CreateErrorStart(path))) << writer.name;
    }
    EXPECT_EQ(Bytes(path), "original");
    test::SetReadOnly(path, false);
}

TEST(TextWriters, PathsThatCannotBeCreatedRaiseTheCreationErrorWithThePathAsPassed) {
    TempFolder folder;
    const auto taken = folder.Child("taken");
    ASSERT_TRUE(test::MakeFolder(taken));
    const std::pair<const char*, AnsiString> cases[] = {
        {"a folder in place of the file", taken},
        {"a path of 260 bytes or more", folder.Child(AnsiString(300, 'd') + "\\" + AnsiString(20, 'f') + ".txt")},
        // Through the ANSI calls these would have written "sub" or "a.txt".
        {"a zero byte in a folder", folder.Child(AnsiString("sub\0x", 5) + "\\a.txt")},
        {"a final lead byte", folder.Child("a.txt\x81")},
        {"a zero byte in the name", folder.Child(AnsiString("a.txt\0x", 7))},
    };
    ASSERT_GE(cases[1].second.size(), 260u);
    for (const auto& [what, path] : cases) {
        SCOPED_TRACE(what);
        for (const NamedWriter& writer : kTextWriters) {
            EXPECT_THAT(WriterErrorOf(writer.write, path), StartsWith(CreateErrorStart(path))) << writer.name;
        }
        EXPECT_EQ(WriterErrorOf(SaveUtf8File, path), WriterErrorOf(SaveUtf16File, path));
    }
    EXPECT_TRUE(test::FolderExists(taken));
    EXPECT_EQ(test::ListFolder(folder.Path()), std::vector<AnsiString>{"taken"});
}

}  // namespace
}  // namespace kx
