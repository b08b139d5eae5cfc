// The storage rules of the three script templates, on the committed sources
// and on the GBK bytes the build embeds, and where the placeholder may stand.
#include <gtest/gtest.h>

#include <regex>

#include "ProjectFiles.h"

namespace kx::script::test {
namespace {

const char* const kScriptTemplates[] = {"code", "runtimefun", "publicfun"};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(piece); pos != std::string::npos; pos = text.find(piece, pos + piece.size())) ++n;
    return n;
}

// Rules that hold for the bytes in either encoding: every line ends in CR LF,
// the last one too; no lone CR or LF; no NUL; no byte-order mark; "$" only in
// placeholders.
void ExpectStorageRules(const std::string& label, const std::string& bytes) {
    ASSERT_FALSE(bytes.empty()) << label;
    EXPECT_EQ(bytes.compare(bytes.size() - 2, 2, "\r\n"), 0) << label << ": last line has no CR LF";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << label << ": lone CR at " << i;
        }
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << label << ": lone LF at " << i;
        }
    }
    EXPECT_EQ(bytes.find('\0'), std::string::npos) << label;
    EXPECT_NE(bytes.compare(0, 3, "\xEF\xBB\xBF"), 0) << label;
    EXPECT_NE(bytes.compare(0, 2, "\xFF\xFE"), 0) << label;
    EXPECT_EQ(Count(bytes, "$"), 2 * Count(bytes, kPlaceholder)) << label << ": a stray \"$\"";
}

TEST(ScriptTemplates, SourcesFollowTheStorageRules) {
    for (const char* name : kScriptTemplates) {
        const std::string source = TemplateSource(name);
        ExpectStorageRules(std::string(name) + ".txt", source);
        Diagnostics ignored;
        Tokenize(name, source, ignored);
        for (const Diagnostic& d : ignored) {
            EXPECT_EQ(d.message.find("UTF-8"), std::string::npos) << d.ToString();
        }
    }
}

// What the program embeds: the GBK form that the build converted. Two-byte
// characters must be whole, and the line structure the same as the source's.
TEST(ScriptTemplates, EmbeddedGbkBytesFollowTheStorageRules) {
    for (const char* name : kScriptTemplates) {
        const std::string gbk = ReadBytes(std::string(KX_TEMPLATE_GBK_DIR) + "/" + name + ".txt");
        ExpectStorageRules(std::string(name) + " (GBK)", gbk);
        for (std::size_t i = 0; i < gbk.size(); ++i) {
            const auto lead = static_cast<unsigned char>(gbk[i]);
            if (lead < 0x80) continue;
            ASSERT_TRUE(lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size() &&
                        static_cast<unsigned char>(gbk[i + 1]) >= 0x40 && gbk[i + 1] != '\x7F')
                << name << ": broken double-byte character at " << i;
            ++i;
        }
        EXPECT_EQ(Lines(gbk).size(), Lines(TemplateSource(name)).size()) << name;
    }
}

TEST(ScriptTemplates, FirstAndLastLinesAsTheCatalogueHasThem) {
    const auto code = Lines(TemplateSource("code"));
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.front(), "var MyCaption=\"$ProjectName$\"");
    EXPECT_EQ(code.back(), "");

    const auto runtime = Lines(TemplateSource("runtimefun"));
    ASSERT_GE(runtime.size(), 2u);
    EXPECT_EQ(runtime.front(), "");
    EXPECT_EQ(runtime.back(), "");

    const auto library = Lines(TemplateSource("publicfun"));
    ASSERT_FALSE(library.empty());
    EXPECT_EQ(library.front(), "");
}

// Four places in the main script: the caption and three function names that
// the window and KX find by the project's name. None in the libraries.
TEST(ScriptTemplates, PlaceholderStandsInExactlyFourPlaces) {
    const std::string code = TemplateSource("code");
    EXPECT_EQ(Count(code, kPlaceholder), 4u);
    std::vector<std::string> holders;
    for (const std::string& line : Lines(code)) {
        if (line.find(kPlaceholder) != std::string::npos) holders.push_back(line);
    }
    ASSERT_EQ(holders.size(), 4u);
    EXPECT_EQ(holders[0], "var MyCaption=\"$ProjectName$\"");
    const std::regex header(u8R"(function \$ProjectName\$_(初始化|消息过程|消息路由)\(.*\))");
    for (std::size_t i = 1; i < holders.size(); ++i) {
        EXPECT_TRUE(std::regex_match(holders[i], header)) << holders[i];
    }
    EXPECT_EQ(Count(TemplateSource("runtimefun"), "$"), 0u);
    EXPECT_EQ(Count(TemplateSource("publicfun"), "$"), 0u);
}

}  // namespace
}  // namespace kx::script::test
