// What a template from the user's folder must pass: the findings, the lines
// they name, and the GBK text that goes on to the writers.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "support/TempFolder.h"
#include "UnitFunction.h"
#include "templates/TemplateChecks.h"

namespace kx {
namespace {

// "E2 NulByte" for a refusal on line 2, "W StrayDollar 3" for a warning on
// the whole file with its number, "E1 NotUtf8 0xD6", "E2 NotInCodePage U+1F600".
std::vector<std::string> Rendered(const std::vector<Finding>& findings) {
    static const char* const kKinds[] = {
        "Empty",           "NotUtf8",  "NulByte",   "NotInCodePage",  "LineNotInCodePage", "StrayDollar",
        "PlaceholderKept", "LineEnds", "MoreLines", "Unreadable",     "NotPointPicker",    "NoTemplateFiles"};
    std::vector<std::string> lines;
    for (const Finding& f : findings) {
        std::string line = std::string(f.refusal ? "E" : "W") + (f.line ? std::to_string(f.line) : "") + " " +
                           kKinds[static_cast<int>(f.kind)];
        char number[16] = "";
        const char* format = f.kind == FindingKind::NotUtf8 ? " 0x%02zX" : " %zu";
        if (f.number != 0) std::snprintf(number, sizeof number, format, f.number);
        line += number;
        for (const char32_t c : f.characters) {
            std::snprintf(number, sizeof number, " U+%04X", static_cast<unsigned>(c));
            line += number;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    while (times-- > 0) out += text;
    return out;
}

struct TextCase {
    const char* name;
    std::string input;  // UTF-8 as a person saved it
    bool substituted;
    std::vector<std::string> findings;
    std::string gbk;  // what the writers get; empty when refused
};

const TextCase kTextCases[] = {
    {"clean with BOM", "\xEF\xBB\xBF中文\r\n$ProjectName$\r\n", true, {}, "\xD6\xD0\xCE\xC4\r\n$ProjectName$\r\n"},
    {"clean without BOM", "中文\r\n$ProjectName$", true, {}, "\xD6\xD0\xCE\xC4\r\n$ProjectName$"},
    {"LF and lone CR said once, converted", "a\nb\rc\r\n", false, {"W1 LineEnds"}, "a\r\nb\r\nc\r\n"},
    {"first odd line end named", "a\r\nb\r\nc\n", false, {"W3 LineEnds"}, "a\r\nb\r\nc\r\n"},
    {"a lone CR alone", "a\r\nb\rc\r\n", false, {"W2 LineEnds"}, "a\r\nb\r\nc\r\n"},
    {"characters outside 936 named once each", "ok\r\n笑😀和ก😀\r\n", true,
     {"E2 NotInCodePage U+1F600 U+0E01"}, ""},
    {"NUL byte", std::string("a\r\nb\0c\r\n", 8), true, {"E2 NulByte"}, ""},
    {"saved as GBK", "abc\r\n\xD6\xD0\r\n", true,
     {"E2 NotUtf8 0xD6"}, ""},
    {"UTF-16 file", "\xFF\xFE" "a", true,
     {"E1 NotUtf8 0xFF"}, ""},
    {"only a BOM", "\xEF\xBB\xBF", true, {"E Empty"}, ""},
    {"stray dollar, column in characters", "a\r\n中 $ y\r\n", true,
     {"W2 StrayDollar 3"}, "a\r\n\xD6\xD0 $ y\r\n"},
    {"placeholder in other letter case", "$projectname$\r\n", true,
     {"W1 StrayDollar 1"}, "$projectname$\r\n"},
    {"placeholder in a library is kept", "x$ProjectName$\r\n", false,
     {"W1 PlaceholderKept 2"}, "x$ProjectName$\r\n"},
    {"warning and refusal together", "$\n😀\r\n", true,
     {"W1 StrayDollar 1", "W1 LineEnds", "E2 NotInCodePage U+1F600"}, ""},
    {"bytes that are no UTF-8 after other findings: only they are said", "$\r\n😀\n\xC0\xAF\r\n", true,
     {"E3 NotUtf8 0xC0"}, ""},
    // A tag character converts to nothing at all: it is no character of 936.
    {"tag character", "a\xF3\xA0\x80\x81z\r\n", true, {"E1 NotInCodePage U+E0001"}, ""},
    {"long text with LF line ends", Repeat("中文 $ProjectName$ x\n", 40000), true, {"W1 LineEnds"},
     Repeat("\xD6\xD0\xCE\xC4 $ProjectName$ x\r\n", 40000)},
};

TEST(TemplateChecks, TextsFromTheFolder) {
    for (const TextCase& c : kTextCases) {
        SCOPED_TRACE(c.name);
        const CheckedText checked = CheckTemplateText(c.input, c.substituted);
        EXPECT_EQ(Rendered(checked.findings), c.findings);
        EXPECT_EQ(test::Hex(checked.text), test::Hex(c.gbk));
    }
}

TEST(TemplateChecks, ManyLinesWithOneProblemAreCounted) {
    const CheckedText checked = CheckTemplateText(Repeat(std::string("x\0\r\n", 4), 13), true);
    const std::vector<std::string> lines = Rendered(checked.findings);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[9], "E10 NulByte");
    EXPECT_EQ(lines[10], "E MoreLines 3");
}

// The DLL the program carries, and that DLL with one thing changed.
class DllChecks : public ::testing::Test {
protected:
    static std::string BuiltDll() {
        test::TempFolder temp;
        const std::string path = temp.Child("GetPointXY.dll");
        if (!ExtractResourceToFile(path, "GetPointXY", "dll")) return {};
        return test::ReadFileBytes(path).value_or("");
    }
    static std::uint32_t U32(const std::string& b, std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b.at(at + i));
        return v;
    }
    static void Put32(std::string& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<char>(v >> (8 * i));
    }
    static std::size_t Pe(const std::string& b) { return U32(b, 0x3C); }
    // File offset of the export directory.
    static std::size_t Exports(const std::string& b) {
        const std::size_t coff = Pe(b) + 4, optional = coff + 20;
        const std::uint32_t rva = U32(b, optional + 96);
        const std::size_t sections = optional + (U32(b, coff + 16) & 0xFFFF);
        for (std::size_t s = 0; s < (U32(b, coff + 2) & 0xFFFF); ++s) {
            const std::size_t at = sections + 40 * s;
            const std::uint32_t start = U32(b, at + 12), size = U32(b, at + 8);
            if (rva >= start && rva - start < size) return U32(b, at + 20) + (rva - start);
        }
        return 0;
    }
};

struct DllCase {
    const char* name;
    std::function<void(std::string&)> change;
    std::optional<DllDefect> why;  // nullopt: accepted
    std::size_t ordinal = 0;
};

TEST_F(DllChecks, OnlyA32BitDllExportingOrdinalsOneAndTwoPasses) {
    const std::string built = BuiltDll();
    ASSERT_FALSE(built.empty()) << "this build carries no GetPointXY.dll";
    const DllCase cases[] = {
        {"the built DLL", [](std::string&) {}, std::nullopt},
        {"cut short", [](std::string& b) { b.resize(200); }, DllDefect::NotPe},
        {"a text file", [](std::string& b) { b = "MZ is not enough"; }, DllDefect::NotPe},
        {"another machine", [](std::string& b) { b.at(Pe(b) + 4) = '\x64'; b.at(Pe(b) + 5) = '\x86'; },
         DllDefect::NotX86},
        {"an executable", [](std::string& b) { b.at(Pe(b) + 23) = static_cast<char>(b.at(Pe(b) + 23) & ~0x20); },
         DllDefect::NotDll},
        {"ordinals from 3", [](std::string& b) { Put32(b, Exports(b) + 16, 3); }, DllDefect::MissingOrdinal, 1},
        {"one function only", [](std::string& b) { Put32(b, Exports(b) + 20, 1); }, DllDefect::MissingOrdinal, 2},
    };
    for (const DllCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = built;
        c.change(bytes);
        const std::optional<Finding> problem = PointPickerDllProblem(bytes);
        ASSERT_EQ(problem.has_value(), c.why.has_value());
        if (!problem) continue;
        EXPECT_TRUE(problem->refusal);
        EXPECT_EQ(problem->kind, FindingKind::NotPointPicker);
        EXPECT_EQ(problem->dll, *c.why);
        EXPECT_EQ(problem->number, c.ordinal);
    }
}

}  // namespace
}  // namespace kx
