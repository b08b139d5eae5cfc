// Bytes of a freshly generated project that the checker does not look at:
// encodings, the GUID line, the libraries and key script as exact bytes.
#include <gtest/gtest.h>

#include <regex>

#include "ProjectFiles.h"
#include "CodePage.h"
#include "PathSplit.h"

namespace kx::script::test {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

class GeneratedFiles : public testing::TestWithParam<std::string> {};

TEST_P(GeneratedFiles, LibrariesAreTheirTemplatesInUtf8) {
    const GeneratedProject project(GetParam());
    const std::string source = GetParam() + "/";
    // The build's GBK bytes, converted back by the generator, give the source again.
    EXPECT_EQ(project.File(source + kRuntimeFunFile), kBom + TemplateSource("runtimefun"));
    EXPECT_EQ(project.File(source + kPublicFunFile), kBom + TemplateSource("publicfun"));
}

TEST_P(GeneratedFiles, KeyScriptIsTheFixedText) {
    const GeneratedProject project(GetParam());
    EXPECT_EQ(project.File(GetParam() + "/" + kKeyScriptFile),
              kBom + u8"function DoSomeWorks()\r\n GetPoint(\"位置名称\")\r\n mouseleftclick()\r\n"
                     u8" sleep(500)\r\n\r\nreturn true\r\nend");
}

TEST_P(GeneratedFiles, MainScriptIsGuidLineThenTheTemplate) {
    const GeneratedProject project(GetParam());
    const std::string bytes = project.File(GetParam() + "/" + GetParam() + ".kx");
    ASSERT_EQ(bytes.compare(0, 3, kBom), 0);
    const std::size_t firstLineEnd = bytes.find("\r\n");
    ASSERT_NE(firstLineEnd, std::string::npos);
    const std::string guidLine = bytes.substr(3, firstLineEnd - 3);
    EXPECT_TRUE(std::regex_match(guidLine, std::regex(R"(var MyGUID="\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}")")))
        << guidLine;
    EXPECT_EQ(bytes.substr(firstLineEnd + 2),
              ReplaceEvery(TemplateSource("code"), kPlaceholder, GetParam()));
}

TEST_P(GeneratedFiles, WindowFileIsUtf16AndBindsTheNameOnce) {
    const GeneratedProject project(GetParam());
    const std::string bytes = project.File(GetParam() + "/" + kWindowFile);
    bool bom = false;
    bool ok = false;
    const std::string text = DecodeUtf16Le(bytes, &bom, &ok);
    EXPECT_TRUE(bom);
    EXPECT_TRUE(ok);
    Diagnostics out;
    const WindowFile window = ParseWindowFile(kWindowFile, text, out);
    EXPECT_TRUE(out.empty()) << Describe(out);
    ASSERT_FALSE(window.controls.empty());
    EXPECT_EQ(window.controls[0].name, GetParam());
    EXPECT_EQ(window.controls[0].events,
              (std::vector<std::pair<std::string, std::string>>{{u8"窗口初始化", GetParam() + u8"_初始化"}}));
}

TEST_P(GeneratedFiles, TwoGenerationsGiveTwoGuids) {
    const GeneratedProject first(GetParam());
    const GeneratedProject second(GetParam());
    const std::string main = GetParam() + "/" + GetParam() + ".kx";
    const std::string a = first.File(main);
    const std::string b = second.File(main);
    EXPECT_NE(a.substr(0, a.find("\r\n")), b.substr(0, b.find("\r\n")));
    EXPECT_EQ(a.substr(a.find("\r\n")), b.substr(b.find("\r\n")));
}

TEST_P(GeneratedFiles, ShellOpensTheProjectFile) {
    const GeneratedProject project(GetParam());
    const kx::AnsiString name = kx::AnsiFromUtf8(GetParam());
    EXPECT_EQ(project.opened, std::vector<std::string>{project.projectFolderAnsi + kx::kPathSeparator + name + ".kxproj"});
}

std::string PrintName(const testing::TestParamInfo<std::string>& name) {
    return name.param == "demo" ? "Demo" : "ChineseName";
}

INSTANTIATE_TEST_SUITE_P(Names, GeneratedFiles, testing::Values("demo", u8"中文项目"), PrintName);

}  // namespace
}  // namespace kx::script::test
