// Names a user may type, through the generator: every project file is XML
// that names its entry script, every script set passes the checker, and names
// that already are KX names give the bytes they always gave.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "CodePage.h"
#include "ProjectFiles.h"
#include "KxName.h"
#include "ProjectFileSet.h"
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

const AnsiString kFixedGuid = "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}";

// The generated texts of one name, UTF-8 without byte-order marks.
struct Output {
    ProjectTexts texts;
    std::string projectFile;
    std::unique_ptr<GeneratedProject> onDisk;  // when WriteProjectFiles wrote them
};

// The file set as the generator makes it (ProjectTextFiles), in memory, with
// the GUID above: for names no folder can be made of, and for long tables.
Output InMemory(const std::string& nameUtf8) {
    Output output;
    output.texts.name = nameUtf8;
    const std::string source = nameUtf8 + "/";
    for (const ProjectTextFile& file : ProjectTextFiles(BuiltInTemplates(), AnsiFromUtf8(nameUtf8), kFixedGuid)) {
        std::string path = Utf8FromAnsi(file.relativePath);
        std::replace(path.begin(), path.end(), '\\', '/');
        bool bom = false;
        bool ok = false;
        if (path == source + kWindowFile) output.texts.window = DecodeUtf16Le(file.bytes, &bom, &ok);
        const std::string text = StripUtf8Bom(file.bytes);
        if (path == nameUtf8 + ".kxproj") output.projectFile = text;
        if (path == source + output.texts.MainScriptFile()) output.texts.code = text;
        if (path == source + kRuntimeFunFile) output.texts.runtimeFun = text;
        if (path == source + kPublicFunFile) output.texts.publicFun = text;
        if (path == source + kKeyScriptFile) output.texts.keyScript = text;
    }
    return output;
}

Output Generate(const NameCase& row) {
    if (!row.folderMadeByWindows) return InMemory(row.name);
    Output output;
    output.onDisk = std::make_unique<GeneratedProject>(row.name);
    output.texts = output.onDisk->Texts();
    output.projectFile = StripUtf8Bom(output.onDisk->File(row.name + ".kxproj"));
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

// A project named like one of the templates' own words gets a name form of
// its own ("_" added) where KX reads names; its caption, files and folders
// keep the name as typed, and the window file holds no name twice.
TEST(ProjectNames, TemplateWordsGetAWindowNameOfTheirOwn) {
    const std::pair<std::string, std::string> rows[] = {
        // Controls of the window file.
        {u8"启动", u8"启动_"}, {u8"终止", u8"终止_"}, {u8"退出", u8"退出_"}, {u8"保存配置", u8"保存配置_"},
        {u8"清除配置", u8"清除配置_"}, {u8"定时最小化", u8"定时最小化_"}, {u8"标签0", u8"标签0_"},
        {u8"标签1", u8"标签1_"},
        // Kind words, events and property keys of the window file.
        {u8"窗口", u8"窗口_"}, {u8"按钮", u8"按钮_"}, {u8"热键", u8"热键_"}, {u8"标签", u8"标签_"},
        {u8"时钟", u8"时钟_"}, {u8"窗口结束", u8"窗口结束_"}, {u8"鼠标单击", u8"鼠标单击_"},
        {u8"失去焦点", u8"失去焦点_"}, {u8"虚拟键值", u8"虚拟键值_"}, {u8"对齐", u8"对齐_"},
        // Functions of the scripts, handlers of the window file.
        {u8"执行", u8"执行_"}, {u8"停止", u8"停止_"}, {"DoSomeWorks", "DoSomeWorks_"}, {"GetPoint", "GetPoint_"},
        {u8"退出_点击", u8"退出_点击_"}, {u8"获取网页源码", u8"获取网页源码_"}, {"PopuMenu", "PopuMenu_"},
        // Keywords, in any letter case and in Chinese.
        {"function", "function_"}, {"End", "End_"}, {"IF", "IF_"}, {u8"如果", u8"如果_"}, {u8"真", u8"真_"},
        // Near misses stay as they are.
        {u8"启动2", u8"启动2"}, {u8"窗口1", u8"窗口1"}, {"ends", "ends"}, {u8"标签2", u8"标签2"},
    };
    for (const auto& [name, identifier] : rows) {
        SCOPED_TRACE(name);
        const Output output = InMemory(name);
        const CheckedProject checked = CheckProject(output.texts);
        EXPECT_TRUE(checked.diagnostics.empty()) << Describe(checked.diagnostics);
        ASSERT_FALSE(checked.window.controls.empty());
        EXPECT_EQ(checked.window.controls[0].name, identifier);
        EXPECT_EQ(output.texts.window.substr(0, output.texts.window.find("\r\n")),
                  u8"窗口 " + identifier + " \"" + name + u8"\" 0,0,470,306 | 窗口初始化:" + identifier + u8"_初始化|");
        EXPECT_NE(checked.code.Find(identifier + u8"_消息路由"), nullptr);
    }
}

// Every GBK character whose second byte is an ASCII byte (0x40-0x7E: a
// backslash, a vertical bar, letters ...) at the end of a name and inside it:
// each form of the name reads back as the name.
TEST(ProjectNames, CharactersWithAnAsciiSecondByteReadBackInEveryForm) {
    std::vector<AnsiString> characters;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0x7E; ++trail) {
            const AnsiString character{static_cast<char>(lead), static_cast<char>(trail)};
            const WideString unit = DecodeAnsi(character, AnsiPage::System);
            if (unit.size() == 1 && unit[0] != 0xFFFD) characters.push_back(character);
        }
    }
    ASSERT_GT(characters.size(), 5000u);
    // Names of up to sixteen characters, each character last in one of them:
    // where a byte-wise escape would leave a string open.
    std::vector<AnsiString> names;
    for (std::size_t i = 0; i < characters.size(); i += 16) {
        AnsiString name = "a";
        for (std::size_t k = i; k < characters.size() && k < i + 16; ++k) name += characters[k];
        names.push_back(name);
    }
    for (const AnsiString& character : characters) {
        if (character[1] == '\\') names.push_back("x" + character);
    }
    for (const AnsiString& ansi : names) {
        const std::string name = Utf8FromAnsi(ansi);
        SCOPED_TRACE(name);
        const Output output = InMemory(name);
        // The project file names the entry script.
        XmlElement project;
        std::string error;
        ASSERT_TRUE(ParseXml(output.projectFile, project, error)) << error;
        const XmlElement* info = project.Child("ProjInfo");
        const XmlElement* enterFile = info ? info->Child("EnterFile") : nullptr;
        ASSERT_NE(enterFile, nullptr);
        EXPECT_EQ(enterFile->text, name + ".kx");
        // The main script reads without a fault, and its caption string
        // closes where it should, holding the name.
        Diagnostics problems;
        const Script code = ParseScript(output.texts.MainScriptFile(), output.texts.code, problems);
        const WindowFile window = ParseWindowFile(kWindowFile, output.texts.window, problems);
        ASSERT_TRUE(problems.empty()) << Describe(problems);
        ASSERT_GE(code.globals.size(), 2u);
        ASSERT_EQ(code.globals[1].initializer.size(), 1u);
        EXPECT_EQ(code.globals[1].initializer[0].text, name);
        // The window's name is the name in KX's name form, which the
        // handlers share, and its caption the name as typed.
        const std::string identifier = Utf8FromAnsi(KxIdentifierFrom(ansi));
        ASSERT_FALSE(window.controls.empty());
        EXPECT_EQ(window.controls[0].name, identifier);
        EXPECT_NE(code.Find(identifier + u8"_初始化"), nullptr);
        EXPECT_EQ(output.texts.window.substr(0, output.texts.window.find("\r\n")),
                  u8"窗口 " + identifier + " \"" + name + u8"\" 0,0,470,306 | 窗口初始化:" + identifier + u8"_初始化|");
    }
}

}  // namespace
}  // namespace kx::script::test
