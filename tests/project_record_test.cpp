// The pieces under an update: SHA-256 against the standard's vectors, the
// record read back as written, and a file's encoding taken off and put back
// byte for byte around the merge.
#include <gtest/gtest.h>

#include <string>

#include "CodePage.h"
#include "FileWriting.h"
#include "PathSplit.h"
#include "Sha256.h"
#include "support/TempFolder.h"
#include "update/FileMerge.h"
#include "update/ProjectRecord.h"

namespace kx {
namespace {

TEST(Sha256, GivesTheStandardsDigestsHoweverTheBytesArrive) {
    const struct {
        std::string message;
        const char* digest;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: the length takes a block of its own
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Sha256::Engine engine : {Sha256::Engine::Best, Sha256::Engine::Portable}) {
        for (const auto& c : cases) {
            EXPECT_EQ(Sha256(engine).Add(c.message).HexDigest(), c.digest) << c.message.size() << " bytes";
            Sha256 pieces(engine);  // in pieces that straddle the 64-byte blocks
            for (std::size_t at = 0; at < c.message.size(); at += 63) {
                pieces.Add(std::string_view(c.message).substr(at, 63));
            }
            EXPECT_EQ(pieces.HexDigest(), c.digest) << c.message.size() << " bytes in pieces";
        }
    }
}

// The processor's instructions, where there are any, against the portable
// rounds: every length up to four blocks and beyond, in pieces of each size.
TEST(Sha256, TheProcessorsInstructionsAgreeWithThePortableRounds) {
    if (!Sha256::ProcessorHasShaInstructions()) GTEST_SKIP() << "no SHA instructions on this processor";
    std::string message;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 700; ++i) {
        seed = seed * 1103515245u + 12345u;
        message += static_cast<char>(seed >> 16);
    }
    for (std::size_t length = 0; length <= message.size(); length += length < 300 ? 1 : 37) {
        const std::string_view part = std::string_view(message).substr(0, length);
        const std::string portable = Sha256(Sha256::Engine::Portable).Add(part).HexDigest();
        Sha256 pieces;
        for (std::size_t at = 0; at < length; at += 1 + length % 97) pieces.Add(part.substr(at, 1 + length % 97));
        ASSERT_EQ(pieces.HexDigest(), portable) << length << " bytes";
    }
}

ProjectRecord SampleRecord() {
    ProjectRecord record;
    record.version = "1.0.0";
    record.forms = {AnsiFromUtf8("乗 項目"), AnsiFromUtf8("乗_項目")};
    record.guid = "{0C2E1A4B-1111-4222-8333-444455556666}";
    record.templates = Sha256Hex("templates");
    record.dll = RecordedFile{DllRelativePath(), Sha256Hex("MZ"), ""};
    for (const std::string& text : {std::string("a\r\nb\r\n"), std::string(), std::string("\xFF\xFE\n\0x", 5)}) {
        record.texts.push_back({AnsiFromUtf8("乗 項目") + kPathSeparator + AnsiFromUtf8("文件") +
                                    AsGbk(std::to_string(record.texts.size())),
                                Sha256Hex(text), text});
    }
    return record;
}

TEST(ProjectRecord, ReadsBackWhatItWroteAndRefusesWhatItDidNot) {
    const ProjectRecord record = SampleRecord();
    const std::string bytes = RecordBytes(record);
    EXPECT_EQ(bytes.substr(0, bytes.find("dll ")),
              "kxgen project record 1\nversion 1.0.0\nname 乗 項目\nidentifier 乗_項目\n"
              "guid {0C2E1A4B-1111-4222-8333-444455556666}\ntemplates " + Sha256Hex("templates") + "\n");
    EXPECT_NE(bytes.find(" 6 乗 項目/文件0\n"), std::string::npos) << "paths in UTF-8 with /, whatever the platform";
    ProjectRecord read;
    ASSERT_EQ(ParseRecord(bytes, read), RecordProblem::None);
    EXPECT_TRUE(read.SameFilesAs(record));
    EXPECT_EQ(read.version, record.version);
    EXPECT_EQ(read.texts[2].bytes, record.texts[2].bytes);

    const auto edited = [&bytes](std::size_t at, std::size_t count, const std::string& with) {
        return std::string(bytes).replace(at, count, with);
    };
    const struct {
        const char* what;
        std::string bytes;
        RecordProblem problem;
    } damaged[] = {
        {"another first line", edited(0, 5, "KXGEN"), RecordProblem::Malformed},
        {"a field missing", edited(bytes.find("version"), bytes.find("name") - bytes.find("version"), ""),
         RecordProblem::Malformed},
        {"a hash too short", edited(bytes.find("dll ") + 4, 1, ""), RecordProblem::Malformed},
        {"a text's bytes changed", edited(bytes.size() - 1, 1, "y"), RecordProblem::HashMismatch},
        {"cut short", bytes.substr(0, bytes.size() - 1), RecordProblem::Malformed},
        {"bytes after the last text", bytes + "z", RecordProblem::Malformed},
        {"no empty line before the texts", bytes.substr(0, bytes.find("\n\n") + 1), RecordProblem::Malformed},
    };
    for (const auto& d : damaged) {
        ProjectRecord ignored;
        EXPECT_EQ(ParseRecord(d.bytes, ignored), d.problem) << d.what;
    }
    ProjectRecord newer = record;
    newer.version = "2.0.0";
    EXPECT_TRUE(newer.SameFilesAs(record)) << "a newer program alone is nothing new";
    newer.texts[0].bytes += "x";
    EXPECT_FALSE(newer.SameFilesAs(record));
}

// A generation writes its record from the files it wrote, without copying
// their bytes into one; the file is the one WriteRecord writes.
TEST(ProjectRecord, AGenerationsRecordIsTheOneItsFilesMake) {
    test::TempFolder temp;
    const ProjectNameForms forms = {AnsiFromUtf8("乗 項目"), AnsiFromUtf8("乗_項目")};
    const std::vector<ProjectTextFile> texts = {
        {AnsiFromUtf8("乗 項目") + kPathSeparator + "a.kx", "a\r\nb\r\n", TextEncoding::Utf8},
        {AsGbk("b.kxproj"), std::string(70000, 'x'), TextEncoding::Utf8},
        {AsGbk("c.kxwin"), std::string("\xFF\xFE\n\0", 4), TextEncoding::Utf16Le},
    };
    for (const std::string& dll : {std::string("MZ"), std::string()}) {
        const ProjectRecord record = RecordOf("1.0.0", forms, "{G}", Sha256Hex("t"), texts, dll);
        WriteRecordOf(temp.Path(), "1.0.0", forms, "{G}", Sha256Hex("t"), texts, dll);
        EXPECT_EQ(test::ReadFileBytes(temp.Path() + kPathSeparator + RecordRelativePath()), RecordBytes(record))
            << (dll.empty() ? "without" : "with") << " a DLL";
        WriteRecord(temp.Path(), record);
        EXPECT_EQ(test::ReadFileBytes(temp.Path() + kPathSeparator + RecordRelativePath()), RecordBytes(record));
    }
}

TEST(WriteWholeFileAtomically, ReplacesTheFileWholeOrLeavesEverythingAsItWas) {
    const struct {
        const char* what;
        bool folderInTheWay;  // a folder stands at the path
        const char* error;    // what is thrown; nullptr for nothing
    } cases[] = {
        {"a file is replaced", false, nullptr},
        {"a folder in the way stays", true, "EFCreateError"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder temp;
        const AnsiString path = temp.Child("record");
        ASSERT_TRUE(c.folderInTheWay ? test::MakeFolderWithFile(path, "inside", "kept")
                                     : test::WriteFileBytes(path, "old bytes, longer than the new"));
        std::string thrown = "nothing";
        try {
            WriteWholeFileAtomically(path, "new");
        } catch (const EFCreateError&) {
            thrown = "EFCreateError";
        } catch (const KxError& error) {
            thrown = std::string(BytesOf(error.Message()));
        }
        EXPECT_EQ(thrown, c.error ? c.error : "nothing");
        EXPECT_EQ(test::ListFolder(temp.Path()), std::vector<AnsiString>{"record"}) << "no temporary is left";
        if (c.folderInTheWay) {
            EXPECT_EQ(test::ReadFileBytes(test::JoinPath(path, "inside")), std::string("kept"));
        } else {
            EXPECT_EQ(test::ReadFileBytes(path), std::string("new"));
        }
    }
}

TEST(FileMerge, TakesTheEncodingOffAndPutsItBackByteForByte) {
    const struct {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        bool decodes;
        std::string text;  // as merged
    } cases[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" "a\r\n", TextEncoding::Utf8, true, "a\r\n"},
        {"UTF-8 without", "a\n", TextEncoding::Utf8, true, "a\n"},
        {"UTF-16LE: a unit whose low byte is a line feed stays one unit", std::string("\xFF\xFE\x0A\x0A\x0A\x00", 6),
         TextEncoding::Utf16Le, true, "\xE0\xA8\x8A\n"},
        {"UTF-16LE: a surrogate pair and a lone surrogate", std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xDC", 8),
         TextEncoding::Utf16Le, true, "\xED\xA0\xBD\xED\xB8\x80\xED\xB0\x80"},
        {"UTF-16LE without its mark", std::string("a\0", 2), TextEncoding::Utf16Le, false, ""},
        {"UTF-16LE cut in the middle of a unit", std::string("\xFF\xFE" "a", 3), TextEncoding::Utf16Le, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        update::MergeText text;
        ASSERT_EQ(update::DecodeForMerge(c.bytes, c.encoding, text), c.decodes);
        if (!c.decodes) continue;
        EXPECT_EQ(text.text, c.text) << test::Hex(text.text);
        EXPECT_EQ(update::EncodeAfterMerge(text, c.encoding), c.bytes);
    }
}

TEST(FileMerge, AnEditorThatChangedEveryLineEndMergesWithThoseLineEnds) {
    const struct {
        const char* what;
        std::string mine;
        update::MergeVerdict verdict;
        std::string bytes;
        bool asMine;
    } cases[] = {
        {"all LF", "a\nb mine\nc\nd\n", update::MergeVerdict::Clean, "a\nb mine\nc\nd theirs\n", true},
        {"all CR LF, as generated", "a\r\nb mine\r\nc\r\nd\r\n", update::MergeVerdict::Clean,
         "a\r\nb mine\r\nc\r\nd theirs\r\n", false},
        {"mixed: merged as they are, every line differing", "a\nb mine\r\nc\nd\n", update::MergeVerdict::Conflict, "",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const update::FileMergeResult merged =
            update::MergeFile("a\r\nb\r\nc\r\nd\r\n", c.mine, "a\r\nb\r\nc\r\nd theirs\r\n", TextEncoding::Utf8, {});
        EXPECT_EQ(merged.verdict, c.verdict);
        if (c.verdict == update::MergeVerdict::Clean) {
            EXPECT_EQ(merged.bytes, c.bytes);
        }
        EXPECT_EQ(merged.lineEndsAsMine, c.asMine);
    }
}

}  // namespace
}  // namespace kx
