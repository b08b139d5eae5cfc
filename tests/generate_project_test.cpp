// The generate workflow end to end on the real file system, with scripted
// dialogs: what the user is asked and told, in order, and what lands on disk.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "CodePage.h"
#include "GenerateProject.h"
#include "ReplaceAll.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "support/WorkflowTest.h"

namespace kx {
namespace {

using test::Info;
using test::Prompt;
using test::Question;
using test::Stop;

const AnsiString kDefaultName = "wpx2026_12_07";
const AnsiString kChinese = "\xD6\xD0\xCE\xC4";  // 中文

AnsiString QuotedFolderFailure(const AnsiString& name) {
    return texts::kOpenQuote + name + texts::kFolderFailedTail;
}

int Count(const std::string& haystack, const std::string& needle) {
    int count = 0;
    for (auto pos = haystack.find(needle); pos != std::string::npos; pos = haystack.find(needle, pos + 1)) {
        ++count;
    }
    return count;
}

class GenerateProjectTest : public test::WorkflowTest {
protected:
    // A press whose name prompt is cancelled: the proposed name comes back.
    void GenerateCancelled(bool regenerate) {
        dialogs = {};
        dialogs.promptAnswers = {std::nullopt};
        dialogs.questionAnswers = {regenerate};
        outcome = GenerateProject(dialogs, host);
    }

    AnsiString InProject(const AnsiString& name, const AnsiString& relative) const {
        return test::JoinPath(test::JoinPath(outputRoot, name), relative);
    }
    std::string Bytes(const AnsiString& path) const { return test::ReadFileBytes(path).value_or("<missing>"); }

    std::vector<test::DialogEvent> PromptOnly() const { return {Prompt(kDefaultName)}; }
    std::vector<test::DialogEvent> PromptThen(test::DialogEvent box) const { return {Prompt(kDefaultName), std::move(box)}; }
};

TEST_F(GenerateProjectTest, AcceptingAndCancellingBothUseTheProposedName) {
    Generate(kDefaultName);
    EXPECT_EQ(dialogs.events, PromptOnly());
    EXPECT_TRUE(test::FileExists(InProject(kDefaultName, kDefaultName + ".kxproj")));

    GenerateCancelled(true);  // the preset text comes back, and it exists now
    EXPECT_EQ(dialogs.events, PromptThen(Question(kDefaultName)));
    EXPECT_EQ(outcome.kind, OutcomeKind::Written);
    ASSERT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(host.opened[1], test::JoinPath(test::JoinPath(outputRoot, kDefaultName), kDefaultName + ".kxproj"));
}

TEST_F(GenerateProjectTest, CreatesTheOutputRootOnTheFirstPress) {
    ASSERT_FALSE(test::FolderExists(outputRoot));
    Generate("demo");
    EXPECT_TRUE(test::FolderExists(outputRoot));
}

TEST_F(GenerateProjectTest, AnOutputRootThatCannotBeMadeStopsWithItsMessage) {
    ASSERT_TRUE(test::WriteFileBytes(outputRoot, "a file where the folder belongs"));
    Generate("demo");
    ASSERT_EQ(dialogs.events.size(), 1u);  // before the prompt
    EXPECT_EQ(dialogs.events[0], Stop(texts::kOutputRootFailed));
}

TEST_F(GenerateProjectTest, BlankNamesAreEmptyAndSurroundingBlanksAreTrimmed) {
    Generate(" \t  \t");
    EXPECT_EQ(dialogs.events, PromptThen(Info(texts::kNameEmpty)));

    Generate("  demo  ");
    EXPECT_EQ(dialogs.events, PromptOnly());
    EXPECT_TRUE(test::FileExists(InProject("demo", "demo.kxproj")));
}

TEST_F(GenerateProjectTest, NamesThatAreNoBareFolderNameGetTheFormatMessageAndTouchNothing) {
    Generate("keep");
    const AnsiString sibling = InProject("keep", "keep.kxproj");
    const std::string before = Bytes(sibling);
    ASSERT_TRUE(test::WriteFileBytes(test::JoinPath(outputRoot, "note.txt"), "mine"));

    for (const char* name : {"a\\b", "c:x", ".", "..", "...", "demo.", "a/b", "..\\keep"}) {
        Generate(name, true);
        EXPECT_EQ(dialogs.events, PromptThen(Info(texts::kNameMalformed))) << name;
    }
    EXPECT_EQ(Bytes(sibling), before);
    EXPECT_EQ(Bytes(test::JoinPath(outputRoot, "note.txt")), "mine");
    EXPECT_EQ(test::ListFolder(outputRoot), (std::vector<AnsiString>{"keep", "note.txt"}));
}

TEST_F(GenerateProjectTest, ANameWindowsCannotUseFailsAtTheProjectFolder) {
    Generate("a*b");
    EXPECT_EQ(dialogs.events, PromptThen(Stop(QuotedFolderFailure("a*b"))));
}

TEST_F(GenerateProjectTest, AFileInPlaceOfTheProjectFolderFailsAtTheProjectFolder) {
    Generate("first");  // makes the output root
    ASSERT_TRUE(test::WriteFileBytes(test::JoinPath(outputRoot, "demo"), "x"));
    Generate("demo");
    EXPECT_EQ(dialogs.events, PromptThen(Stop(QuotedFolderFailure("demo"))));
    EXPECT_EQ(Bytes(test::JoinPath(outputRoot, "demo")), "x");
}

TEST_F(GenerateProjectTest, DecliningToRegenerateChangesNothing) {
    Generate("demo");
    const AnsiString own = InProject("demo", test::JoinPath("demo", "mine.txt"));
    ASSERT_TRUE(test::WriteFileBytes(own, "my work"));
    const std::string script = Bytes(InProject("demo", test::JoinPath("demo", "demo.kx")));

    Generate("demo", false);
    EXPECT_EQ(dialogs.events, PromptThen(Question("demo")));
    EXPECT_EQ(outcome.kind, OutcomeKind::Kept);
    EXPECT_EQ(Bytes(own), "my work");
    EXPECT_EQ(Bytes(InProject("demo", test::JoinPath("demo", "demo.kx"))), script);
    EXPECT_EQ(host.opened.size(), 1u);
}

TEST_F(GenerateProjectTest, RegeneratingLeavesExactlyAFreshFileSet) {
    Generate("demo");
    ASSERT_TRUE(test::WriteFileBytes(InProject("demo", test::JoinPath("demo", "mine.txt")), "my work"));
    ASSERT_TRUE(test::MakeFolder(InProject("demo", "extra")));
    const std::string script = Bytes(InProject("demo", test::JoinPath("demo", "demo.kx")));

    Generate("demo", true);
    EXPECT_EQ(dialogs.events, PromptThen(Question("demo")));
    EXPECT_EQ(test::ListFolder(test::JoinPath(outputRoot, "demo")),
              (std::vector<AnsiString>{"demo", "demo.kxproj", texts::kBuildFolderName}));
    EXPECT_EQ(test::ListFolder(InProject("demo", "demo")).size(), 5u);
    EXPECT_NE(Bytes(InProject("demo", test::JoinPath("demo", "demo.kx"))), script) << "a new GUID";
}

TEST_F(GenerateProjectTest, WritesTheFileSetWithItsEncodings) {
    Generate("demo");
    EXPECT_EQ(test::ListFolder(InProject("demo", "demo")),
              (std::vector<AnsiString>{"demo.kx", "main.kxwin", texts::kKeyScriptFile, texts::kPublicFunFile,
                                       texts::kRuntimeFunFile}));
    const std::string bom = "\xEF\xBB\xBF";
    for (const AnsiString& file : {AnsiString("demo.kx"), AnsiString(texts::kKeyScriptFile),
                                   AnsiString(texts::kPublicFunFile), AnsiString(texts::kRuntimeFunFile)}) {
        EXPECT_EQ(Bytes(InProject("demo", test::JoinPath("demo", file))).substr(0, 3), bom) << file;
    }

    const std::string project = Bytes(InProject("demo", "demo.kxproj"));
    EXPECT_EQ(project.size(), 283u);
    EXPECT_EQ(project.substr(0, 3), bom);
    EXPECT_NE(project.find("<EnterFile>demo.kx</EnterFile>\r\n"), std::string::npos);

    const std::string window = Bytes(InProject("demo", test::JoinPath("demo", "main.kxwin")));
    EXPECT_EQ(window.substr(0, 2), "\xFF\xFE");
    const std::u16string text(reinterpret_cast<const char16_t*>(window.data() + 2), (window.size() - 2) / 2);
    for (const char16_t* handler : {u"demo_初始化", u"清除配置_点击", u"定时最小化_时钟", u"退出_点击", u"启动_热键",
                                    u"启动_失去焦点", u"终止_热键", u"终止_失去焦点", u"保存配置_点击"}) {
        EXPECT_EQ(Count(std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2),
                        std::string(reinterpret_cast<const char*>(handler),
                                    std::char_traits<char16_t>::length(handler) * 2)),
                  1);
    }
    EXPECT_EQ(text.substr(text.size() - 6), u"\r\n\r\n\r\n") << "keeps its two empty lines";

    for (const AnsiString& file : {AnsiString("demo.kxproj"), test::JoinPath("demo", "demo.kx")}) {
        EXPECT_EQ(Bytes(InProject("demo", file)).find("$ProjectName$"), std::string::npos) << file;
    }
    EXPECT_EQ(Count(Bytes(InProject("demo", test::JoinPath("demo", "demo.kx"))), "demo"),
              Count(ReadTextResource("code", "txt"), "$ProjectName$"));

    // The libraries are their templates in UTF-8; the key script is its fixed text.
    EXPECT_EQ(Bytes(InProject("demo", test::JoinPath("demo", texts::kPublicFunFile))),
              bom + Utf8FromAnsi(ReadTextResource("publicfun", "txt")));
    EXPECT_EQ(Bytes(InProject("demo", test::JoinPath("demo", texts::kRuntimeFunFile))),
              bom + Utf8FromAnsi(ReadTextResource("runtimefun", "txt")));
    EXPECT_EQ(Bytes(InProject("demo", test::JoinPath("demo", texts::kKeyScriptFile))),
              bom + u8"function DoSomeWorks()\r\n GetPoint(\"位置名称\")\r\n mouseleftclick()\r\n sleep(500)\r\n"
                    u8"\r\nreturn true\r\nend");
}

TEST_F(GenerateProjectTest, TheMainScriptStartsWithItsOwnGuidLine) {
    Generate("one");
    Generate("two");
    const std::regex guidLine("^\xEF\xBB\xBFvar MyGUID=\"\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}\"\r\n");
    const std::string one = Bytes(InProject("one", test::JoinPath("one", "one.kx")));
    const std::string two = Bytes(InProject("two", test::JoinPath("two", "two.kx")));
    EXPECT_TRUE(std::regex_search(one, guidLine));
    EXPECT_TRUE(std::regex_search(two, guidLine));
    const std::size_t guidLineSize = 3 + 53;  // BOM, then var MyGUID="{38 characters}" and CR LF
    EXPECT_NE(one.substr(0, guidLineSize), two.substr(0, guidLineSize));
    // The template follows directly, with the name in place of the placeholder.
    EXPECT_EQ(one.substr(guidLineSize),
              Utf8FromAnsi(ReplaceAll(ReadTextResource("code", "txt"), "$ProjectName$", "one")));
}

TEST_F(GenerateProjectTest, ChineseNamesArriveAsTheSameCharacters) {
    Generate(kChinese);
    const AnsiString project = InProject(kChinese, kChinese + ".kxproj");
    EXPECT_NE(Bytes(project).find(u8"<EnterFile>中文.kx</EnterFile>"), std::string::npos);
    const std::string window = Bytes(InProject(kChinese, test::JoinPath(kChinese, "main.kxwin")));
    const std::u16string prefix = u"窗口 中文 \"中文\"";
    EXPECT_EQ(window.substr(2, prefix.size() * 2),
              std::string(reinterpret_cast<const char*>(prefix.data()), prefix.size() * 2));
}

TEST_F(GenerateProjectTest, ANameHoldingThePlaceholderIsInsertedLiterally) {
    const AnsiString name = "a$ProjectName$b";
    Generate(name);
    const std::string script = Bytes(InProject(name, test::JoinPath(name, name + ".kx")));
    // Each placeholder gets one form of the name and none is searched again: as
    // typed in the caption's string, made a KX name where the script names things.
    EXPECT_EQ(Count(script, name), 1);
    EXPECT_EQ(Count(script, name) + Count(script, "a_ProjectName_b"),
              Count(ReadTextResource("code", "txt"), "$ProjectName$"));
    EXPECT_EQ(Count(Bytes(InProject(name, name + ".kxproj")), "$ProjectName$"), 1);
}

TEST_F(GenerateProjectTest, AFileThatCannotBeCreatedEndsTheRunAndKeepsEarlierFiles) {
    Generate("demo");
    // A folder where the project file belongs cannot be opened as a file, on
    // every platform and for every user.
    const AnsiString projectFile = InProject("demo", "demo.kxproj");
    const AnsiString window = InProject("demo", test::JoinPath("demo", "main.kxwin"));
    const AnsiString library = InProject("demo", test::JoinPath("demo", texts::kPublicFunFile));
    ASSERT_TRUE(test::RemoveTree(window));
    ASSERT_TRUE(test::RemoveTree(library));
    ASSERT_TRUE(test::RemoveTree(projectFile));
    ASSERT_TRUE(test::MakeFolder(projectFile));

    try {
        WriteProjectFiles(test::PlanToWrite(outputRoot, "demo"), host);
        ADD_FAILURE() << "no error raised";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.Message().rfind("Cannot create file \"" + projectFile + "\". ", 0), 0u) << error.Message();
    }
    EXPECT_TRUE(test::FolderExists(projectFile));
    EXPECT_TRUE(test::FileExists(library)) << "files before the failure are written";
    EXPECT_FALSE(test::FileExists(window)) << "files after it are not";
    EXPECT_EQ(host.opened.size(), 1u) << "no shell open after an error";
}

}  // namespace
}  // namespace kx
