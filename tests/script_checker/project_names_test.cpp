// Names a user may type, through the generator: every project file is XML
// that names its entry script, every script set passes the checker, and names
// that already are KX names give the bytes they always gave.
#include <gtest/gtest.h>

#include <memory>

#include "CodePage.h"
#include "ProjectFiles.h"
#include "SubstituteProjectName.h"
#include "UnitFunction.h"
#include "XmlCheck.h"

namespace kx::script::test {
namespace {

struct NameCase {
    std::string name;        // as typed (UTF-8)
    std::string identifier;  // the window's name and the handlers' prefix
    std::string caption;     // between the window line's quotes
    bool folderMadeByWindows;  // otherwise generation stops before WriteProjectFiles
};

const NameCase kNames[] = {
    {"wpx2026_12_08", "wpx2026_12_08", "wpx2026_12_08", true},
    {"demo", "demo", "demo", true},
    {u8"中文项目", u8"中文项目", u8"中文项目", true},
    {"a&b", "a_b", "a&b", true},
    {"my project", "my_project", "my project", true},
    {u8"自动打怪 v2", u8"自动打怪_v2", u8"自动打怪 v2", true},
    {u8"v1.2-测试", u8"v1_2_测试", u8"v1.2-测试", true},
    {u8"买&卖", u8"买_卖", u8"买&卖", true},
    {u8"2048游戏", u8"_2048游戏", u8"2048游戏", true},
    {"'quote'", "_quote_", "'quote'", true},
    {u8"全角（括号），逗号", u8"全角_括号__逗号", u8"全角（括号），逗号", true},
    {"<x>", "_x_", "<x>", false},
    {"\"q\"", "_q_", "'q'", false},
};

const std::string kFixedGuidLine = "var MyGUID=\"{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}\"\r\n";

// The generated texts of one name, UTF-8 without byte-order marks.
struct Output {
    ProjectTexts texts;
    std::string projectFile;
    std::unique_ptr<GeneratedProject> onDisk;  // when WriteProjectFiles wrote them
};

Output Generate(const NameCase& row) {
    Output output;
    if (row.folderMadeByWindows) {
        output.onDisk = std::make_unique<GeneratedProject>(row.name);
        output.texts = output.onDisk->Texts();
        output.projectFile = StripUtf8Bom(output.onDisk->File(row.name + ".kxproj"));
        return output;
    }
    // No folder of this name can be made, so only the texts can be had: from
    // the embedded templates, as WriteProjectFiles substitutes them.
    const AnsiString name = AnsiFromUtf8(row.name);
    auto substituted = [&](TemplateKind kind, const AnsiString& text) {
        return Utf8FromAnsi(SubstituteProjectName(kind, text, name));
    };
    output.texts = FromTemplates(row.name);  // the libraries and the key script
    output.texts.code = substituted(TemplateKind::Script, kFixedGuidLine + ReadTextResource("code", "txt"));
    output.texts.window = substituted(TemplateKind::WindowFile, ReadTextResource("form", "txt"));
    output.projectFile = substituted(TemplateKind::ProjectFile, ReadTextResource("programe", "txt"));
    return output;
}

std::string AfterFirstLine(const std::string& text) { return text.substr(text.find("\r\n") + 2); }

TEST(ProjectNames, ProjectFileIsXmlNamingTheEntryScript) {
    for (const NameCase& row : kNames) {
        SCOPED_TRACE(row.name);
        const Output output = Generate(row);
        XmlElement project;
        std::string error;
        ASSERT_TRUE(ParseXml(output.projectFile, project, error)) << error;
        EXPECT_EQ(project.name, "Project");
        const XmlElement* info = project.Child("ProjInfo");
        ASSERT_NE(info, nullptr);
        const XmlElement* enterFile = info->Child("EnterFile");
        ASSERT_NE(enterFile, nullptr);
        EXPECT_EQ(enterFile->text, row.name + ".kx");
        if (output.onDisk) {
            EXPECT_FALSE(output.onDisk->File(row.name + "/" + enterFile->text).empty())
                << "no entry script " << enterFile->text;
        }
    }
}

TEST(ProjectNames, ScriptsAndWindowFilePassTheChecker) {
    for (const NameCase& row : kNames) {
        SCOPED_TRACE(row.name);
        const Output output = Generate(row);
        const CheckedProject checked = CheckProject(output.texts);
        EXPECT_TRUE(checked.diagnostics.empty()) << Describe(checked.diagnostics);

        ASSERT_FALSE(checked.window.controls.empty());
        const WindowControl& window = checked.window.controls[0];
        EXPECT_EQ(window.name, row.identifier);
        EXPECT_EQ(window.events, (std::vector<std::pair<std::string, std::string>>{
                                     {u8"窗口初始化", row.identifier + u8"_初始化"}}));
        for (const char* suffix : {u8"_初始化", u8"_消息过程", u8"_消息路由"}) {
            EXPECT_NE(checked.code.Find(row.identifier + suffix), nullptr) << suffix;
        }
    }
}

TEST(ProjectNames, CaptionsShowTheNameAsTyped) {
    for (const NameCase& row : kNames) {
        SCOPED_TRACE(row.name);
        const Output output = Generate(row);
        const std::string& window = output.texts.window;
        EXPECT_EQ(window.substr(0, window.find("\r\n")),
                  u8"窗口 " + row.identifier + " \"" + row.caption + u8"\" 0,0,470,306 | 窗口初始化:" +
                      row.identifier + u8"_初始化|");

        Diagnostics ignored;
        const Script code = ParseScript(output.texts.MainScriptFile(), output.texts.code, ignored);
        ASSERT_GE(code.globals.size(), 2u);
        ASSERT_EQ(code.globals[1].name, "MyCaption");
        ASSERT_EQ(code.globals[1].initializer.size(), 1u);
        EXPECT_EQ(code.globals[1].initializer[0].kind, TokenKind::String);
        EXPECT_EQ(code.globals[1].initializer[0].text, row.name);
    }
}

// Names that already are KX names are written exactly as the plain
// replacement of the placeholder writes them.
TEST(ProjectNames, PlainNamesKeepTheirBytes) {
    int plain = 0;
    for (const NameCase& row : kNames) {
        if (row.identifier != row.name) continue;
        ++plain;
        SCOPED_TRACE(row.name);
        const Output output = Generate(row);
        ASSERT_TRUE(output.onDisk);
        EXPECT_EQ(output.projectFile, ReplaceEvery(TemplateSource("programe"), kPlaceholder, row.name));
        EXPECT_EQ(output.texts.window, ReplaceEvery(TemplateSource("form"), kPlaceholder, row.name));
        EXPECT_EQ(AfterFirstLine(output.texts.code), ReplaceEvery(TemplateSource("code"), kPlaceholder, row.name));

        bool bom = false;
        bool ok = false;
        const std::string window = output.onDisk->File(row.name + "/" + kWindowFile);
        DecodeUtf16Le(window, &bom, &ok);
        EXPECT_TRUE(bom && ok);
    }
    EXPECT_EQ(plain, 3);
}

}  // namespace
}  // namespace kx::script::test
