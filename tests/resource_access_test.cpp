// ReadTextResource and ExtractResourceToFile, and the chunk rule.
// The test resources are tests/data/resources/<TYPE>/<NAME>.bin (see README.md there).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChunkedText.h"
#include "UnitFunction.h"
#include "support/TempFolder.h"

namespace kx {
namespace {

using test::Hex;
using test::ReadFileBytes;
using test::TempFolder;

std::string Pattern(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(0x20 + i % 95);
    return bytes;
}

std::string WithZeros(std::size_t size, std::vector<std::size_t> offsets) {
    std::string bytes = Pattern(size);
    for (std::size_t offset : offsets) bytes[offset] = '\0';
    return bytes;
}

// A source that records how much each read asked for and returned.
class RecordingSource : public ByteSource {
public:
    explicit RecordingSource(std::string bytes) : bytes_(std::move(bytes)), inner_(bytes_.data(), bytes_.size()) {}
    std::size_t Read(unsigned char* buffer, std::size_t count) override {
        asked.push_back(count);
        const std::size_t n = inner_.Read(buffer, count);
        returned.push_back(n);
        return n;
    }
    std::vector<std::size_t> asked;
    std::vector<std::size_t> returned;

private:
    std::string bytes_;
    MemoryByteSource inner_;
};

// Zero bytes around the 100-byte boundaries of a 250-byte text: what each
// gives, and the test resource that holds it (if any).
struct ZeroCase {
    const char* resource;
    std::vector<std::size_t> zeros;
    AnsiString expected;
};

std::vector<ZeroCase> ZeroCases() {
    const AnsiString p = AsGbk(Pattern(250));
    return {
        {"ZEROAT0", {0}, p.substr(100)},
        {"ZEROAT99", {99}, p.substr(0, 99) + p.substr(100)},
        {"ZEROAT100", {100}, p.substr(0, 100) + p.substr(200)},
        {"ZEROAT101", {101}, p.substr(0, 101) + p.substr(200)},
        {"ZEROAT99AND100", {99, 100}, p.substr(0, 99) + p.substr(200)},
        {"ZEROAT249", {249}, p.substr(0, 249)},
        {nullptr, {199, 200}, p.substr(0, 199)},
    };
}

// ---- the chunk rule, over any byte source ---------------------------------

TEST(ChunkRule, ExactlyHundredBytesIsOneFullChunkThenAnEmptyRead) {
    RecordingSource source(Pattern(100));
    EXPECT_EQ(ReadTextInChunks(source), AsGbk(Pattern(100)));
    EXPECT_EQ(source.asked, (std::vector<std::size_t>{100, 100}));
    EXPECT_EQ(source.returned, (std::vector<std::size_t>{100, 0}));
}

TEST(ChunkRule, TwoHundredFiftyBytesAreReadAsHundredHundredFifty) {
    RecordingSource source(Pattern(250));
    EXPECT_EQ(ReadTextInChunks(source), AsGbk(Pattern(250)));
    EXPECT_EQ(source.returned, (std::vector<std::size_t>{100, 100, 50, 0}));
}

TEST(ChunkRule, ZeroBytesAroundTheHundredByteBoundary) {
    for (const ZeroCase& c : ZeroCases()) {
        const std::string bytes = WithZeros(250, c.zeros);
        RecordingSource source(bytes);
        EXPECT_EQ(ReadTextInChunks(source), c.expected) << "zero at " << c.zeros.front();
        EXPECT_EQ(ReadTextInChunks(bytes.data(), bytes.size()), c.expected) << "in memory, zero at " << c.zeros.front();
    }
}

TEST(ChunkRule, MemorySourceNeverReadsPastItsEnd) {
    const std::string bytes = Pattern(7);
    MemoryByteSource source(bytes.data(), bytes.size());
    unsigned char buffer[101] = {};
    EXPECT_EQ(source.Read(buffer, 100), 7u);
    EXPECT_EQ(buffer[7], 0);
    EXPECT_EQ(source.Read(buffer, 100), 0u);
}

// ---- ReadTextResource on the embedded resources ----------------------------

TEST(ReadTextResource, FullChunksAndAShortLastOneComeBackWhole) {
    EXPECT_EQ(ReadTextResource("HUNDRED", "TESTTXT"), AsGbk(Pattern(100)));
    EXPECT_EQ(ReadTextResource("TWOFIFTY", "TESTTXT"), AsGbk(Pattern(250)));
}

TEST(ReadTextResource, ZeroAtOffsetTenGives160Bytes) {
    const AnsiString text = ReadTextResource("ZEROAT10", "TESTTXT");
    const AnsiString p = AsGbk(Pattern(250));
    ASSERT_EQ(text.size(), 160u);
    EXPECT_EQ(text, p.substr(0, 10) + p.substr(100, 150));
}

TEST(ReadTextResource, ZeroBytesAroundTheBoundaries) {
    for (const ZeroCase& c : ZeroCases()) {
        if (c.resource != nullptr) {
            EXPECT_EQ(ReadTextResource(c.resource, "TESTTXT"), c.expected) << c.resource;
        }
    }
}

TEST(ReadTextResource, ZeroSizeResourceGivesEmptyText) {
    EXPECT_EQ(ReadTextResource("EMPTY", "TESTTXT"), "");
}

TEST(ReadTextResource, MissingResourceGivesEmptyText) {
    EXPECT_EQ(ReadTextResource("NOSUCHNAME", "TESTTXT"), "");
    EXPECT_EQ(ReadTextResource("HUNDRED", "NOSUCHTYPE"), "");
    EXPECT_EQ(ReadTextResource("", ""), "");
}

TEST(ReadTextResource, LookupIgnoresLetterCase) {
    EXPECT_EQ(ReadTextResource("hundred", "testtxt"), AsGbk(Pattern(100)));
    EXPECT_EQ(ReadTextResource("HunDred", "TestTxt"), AsGbk(Pattern(100)));
}

TEST(ReadTextResource, CatalogueTemplateFoundByLowerCaseNameAndType) {
    const AnsiString lower = ReadTextResource("runtimefun", "txt");
    EXPECT_FALSE(lower.empty());
    EXPECT_EQ(lower, ReadTextResource("RUNTIMEFUN", "TXT"));
    EXPECT_EQ(lower, ReadTextResource("RunTimeFun", "Txt"));
    for (const char* name : {"publicfun", "programe", "form", "code"}) {
        EXPECT_FALSE(ReadTextResource(name, "txt").empty()) << name;
    }
}

TEST(ReadTextResource, GbkBytesComeBackUndecoded) {
    EXPECT_EQ(Hex(ReadTextResource("gbktext", "testtxt")),
              "81 5C 4B 58 CF EE C4 BF 0D 0A D6 D0 CE C4 0D 0A");
}

TEST(ReadTextResource, RepeatedReadsGiveTheSameBytes) {
    const AnsiString first = ReadTextResource("TWOFIFTY", "TESTTXT");
    EXPECT_EQ(ReadTextResource("TWOFIFTY", "TESTTXT"), first);
}

// ---- ExtractResourceToFile --------------------------------------------------

std::string AllBytesTwice() {
    std::string bytes;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    }
    return bytes;
}

TEST(ExtractResourceToFile, WritesExactlyTheResourceBytes) {
    struct Case {
        const char* what;
        const char* name;
        const char* type;
        std::string existing;  // the file's content before, if not empty
        std::string expected;
    };
    const Case cases[] = {
        {"every byte value", "allbytes", "testbin", "", AllBytesTwice()},
        {"lookup ignores letter case", "AllBytes", "TestBin", "", AllBytesTwice()},
        {"zero bytes inside the resource", "ZEROAT10", "TESTTXT", "", WithZeros(250, {10})},
        {"a longer existing file is replaced completely", "HUNDRED", "TESTTXT", std::string(5000, 'x'), Pattern(100)},
    };
    TempFolder folder;
    const AnsiString path = folder.Child("GetPointXY.dll");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.existing.empty()) {
            ASSERT_TRUE(test::WriteFileBytes(path, c.existing));
        }
        ASSERT_TRUE(ExtractResourceToFile(path, c.name, c.type));
        const auto bytes = ReadFileBytes(path);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(*bytes, c.expected);
        ASSERT_TRUE(test::RemoveTree(path));
    }
}

TEST(ExtractResourceToFile, MissingOrEmptyResourceIsFalseAndTouchesNoFile) {
    const std::pair<const char*, const char*> resources[] = {{"NOSUCHNAME", "TESTBIN"}, {"EMPTY", "TESTTXT"}};
    for (const auto& [name, type] : resources) {
        SCOPED_TRACE(name);
        TempFolder folder;
        const AnsiString missing = folder.Child("missing.bin");
        EXPECT_FALSE(ExtractResourceToFile(missing, name, type));
        EXPECT_FALSE(test::PathExists(missing));
        const AnsiString keep = folder.Child("keep.bin");
        ASSERT_TRUE(test::WriteFileBytes(keep, "keep me"));
        EXPECT_FALSE(ExtractResourceToFile(keep, name, type));
        EXPECT_EQ(ReadFileBytes(keep).value_or(""), "keep me");
    }
}

TEST(ExtractResourceToFile, FolderThatDoesNotExistIsFalseAndNotCreated) {
    TempFolder folder;
    const AnsiString missing = folder.Child("no-such-folder");
    EXPECT_FALSE(ExtractResourceToFile(test::JoinPath(missing, "x.bin"), "HUNDRED", "TESTTXT"));
    EXPECT_FALSE(test::PathExists(missing));
}

TEST(ExtractResourceToFile, ReadOnlyFileIsFalseAndUnchanged) {
    TempFolder folder;
    const AnsiString path = folder.Child("readonly.bin");
    ASSERT_TRUE(test::WriteFileBytes(path, "original"));
    ASSERT_TRUE(test::SetReadOnly(path, true));
    if (test::PlatformIgnoresReadOnly(path)) GTEST_SKIP() << "this platform writes read-only files (Wine as root)";
    EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    EXPECT_EQ(ReadFileBytes(path).value_or(""), "original");
    test::SetReadOnly(path, false);
}

TEST(ExtractResourceToFile, PathsNamingAnotherFileAreFalseAndCreateNothing) {
    // Through the ANSI calls each would have written "sub" or "x.bin".
    TempFolder folder;
    for (const AnsiString& path : {folder.Child(AnsiString("sub\0x", 5) + "\\x.bin"), folder.Child("x.bin\x81"),
                                   folder.Child(AnsiString("x.bin\0y", 7))}) {
        EXPECT_FALSE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT")) << Hex(path);
    }
    EXPECT_EQ(test::ListFolder(folder.Path()), std::vector<AnsiString>{});
}

TEST(ExtractResourceToFile, ChineseFileNameIsCreated) {
    TempFolder folder;
    const AnsiString name = "\xC9\xFA\xB3\xC9.bin";  // 生成.bin in GBK
    const AnsiString path = folder.Child(name);
    ASSERT_TRUE(ExtractResourceToFile(path, "HUNDRED", "TESTTXT"));
    EXPECT_EQ(test::ListFolder(folder.Path()), std::vector<AnsiString>{name});
}

}  // namespace
}  // namespace kx
