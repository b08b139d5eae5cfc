// Projects generated from a folder of the user's own templates, through the
// real workflow: what differs from the built-in path is exactly what was edited.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "GenerateProject.h"
#include "Texts.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "templates/ExportTemplates.h"
#include "templates/TemplateSet.h"
#ifndef _WIN32
#include "NativePath.h"
#include "posix/ScopedEnvironment.h"
#endif

namespace kx {
namespace {

const AnsiString kName = "\xCA\xBE\xC0\xFD";  // 示例
const std::string kBom = "\xEF\xBB\xBF";

class TemplatesHost : public test::FixedHost {
public:
    TemplatesHost(AnsiString root, const TemplateSource& source)
        : FixedHost(std::move(root)), source_(source) {}
    const TemplateSource& Templates() override { return source_; }

private:
    const TemplateSource& source_;
};

class OwnTemplates : public ::testing::Test {
protected:
    OwnTemplates() {
#ifndef _WIN32
        env.Set("XDG_DATA_HOME", NativePath(temp.Child("xdg")));
#endif
    }

    // The project's files by role; the main script without its GUID line.
    std::map<std::string, std::string> Generate(const AnsiString& rootName, const TemplateSource& source) {
        const AnsiString root = temp.Child(rootName);
        TemplatesHost host(root, source);
        test::ScriptedDialogs dialogs;
        dialogs.promptAnswers = {kName};
        EXPECT_EQ(GenerateProject(dialogs, host).kind, OutcomeKind::Written);

        const AnsiString project = test::JoinPath(root, kName);
        const AnsiString source_folder = test::JoinPath(project, kName);
        const std::map<std::string, AnsiString> paths = {
            {"project", test::JoinPath(project, kName + ".kxproj")},
            {"runtime", test::JoinPath(source_folder, texts::kRuntimeFunFile)},
            {"library", test::JoinPath(source_folder, texts::kPublicFunFile)},
            {"window", test::JoinPath(source_folder, "main.kxwin")},
            {"main", test::JoinPath(source_folder, kName + ".kx")},
            {"keys", test::JoinPath(source_folder, texts::kKeyScriptFile)},
            {"dll", test::JoinPath(test::JoinPath(project, texts::kBuildFolderName), "GetPointXY.dll")},
        };
        std::map<std::string, std::string> files;
        for (const auto& [role, path] : paths) files[role] = test::ReadFileBytes(path).value_or("<missing>");
        std::string& main = files["main"];
        EXPECT_EQ(main.compare(0, 16, kBom + "var MyGUID=\"{"), 0) << main.substr(0, 60);
        main.erase(kBom.size(), main.find("\r\n") + 2 - kBom.size());
        return files;
    }

    test::TempFolder temp;
    AnsiString folder = temp.Child("tpl");
#ifndef _WIN32
    test::ScopedEnvironment env;
#endif
};

struct EditCase {
    const char* name;
    std::map<AnsiString, std::optional<std::string>> edits;  // file in the folder; nullopt: removed
    std::map<std::string, std::string> differs;               // role -> bytes; the rest as built in
};

TEST_F(OwnTemplates, ExportEditGenerate) {
    const std::string dllTail = "an overlay after the image";
    const std::string window("\xFF\xFE\x97\x7A\xE3\x53\x20\x00\x3A\x79\x8B\x4F\x0D\x00\x0A\x00", 16);  // 窗口 示例
    std::string longScript = kBom, longMain = kBom;  // past the batches the text is converted in
    for (int line = 0; line < 4000; ++line) {
        longScript += "// $ProjectName$ 主脚本\r\nvar 名=\"$ProjectName$\"\r\n$ProjectName$$ProjectName$\r\n";
        longMain += "// 示例 主脚本\r\nvar 名=\"示例\"\r\n示例示例\r\n";
    }
    std::map<AnsiString, std::optional<std::string>> onlyWindow;
    for (const AnsiString& name : ExportedFileNames()) onlyWindow[name] = std::nullopt;
    onlyWindow["window.kxwin"] = "窗口 $ProjectName$\r\n";

    const EditCase cases[] = {
        {"unedited export", {}, {}},
        {"edited library arrives byte for byte",
         {{"public-library.kx", kBom + "// 我的公共库\r\nfunction 加一(x)\r\nreturn x+1\r\nend\r\n"}},
         {{"library", kBom + "// 我的公共库\r\nfunction 加一(x)\r\nreturn x+1\r\nend\r\n"}}},
        {"library without BOM and with LF",
         {{"public-library.kx", "甲\n乙"}}, {{"library", kBom + "甲\r\n乙"}}},
        {"main script with the name in more places",
         {{"main-script.kx", kBom + "// $ProjectName$ 主脚本\r\nvar 名=\"$ProjectName$\"\r\n$ProjectName$$ProjectName$\r\n"}},
         {{"main", kBom + "// 示例 主脚本\r\nvar 名=\"示例\"\r\n示例示例\r\n"}}},
        {"main script of a few hundred kilobytes", {{"main-script.kx", longScript}}, {{"main", longMain}}},
        {"one file in the folder, the rest built in", onlyWindow, {{"window", window}}},
        {"own DLL", {{"GetPointXY.dll", std::string()}}, {{"dll", std::string()}}},
    };

    const std::map<std::string, std::string> builtIn = Generate("built-in", BuiltInTemplates());
    ASSERT_NE(builtIn.at("dll"), "<missing>") << "this build carries no GetPointXY.dll";
    int run = 0;
    for (EditCase c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::RemoveTree(folder));
        const ExportResult exported = ExportTemplates(folder, false);
        ASSERT_EQ(exported.problem, ExportProblem::None);
        ASSERT_EQ(exported.written.size(), 7u);
        if (c.edits.count("GetPointXY.dll")) {  // the exported DLL with bytes appended
            c.edits["GetPointXY.dll"] = test::ReadFileBytes(test::JoinPath(folder, "GetPointXY.dll")).value() + dllTail;
            c.differs["dll"] = builtIn.at("dll") + dllTail;
        }
        for (const auto& [name, bytes] : c.edits) {
            const AnsiString path = test::JoinPath(folder, name);
            ASSERT_TRUE(bytes ? test::WriteFileBytes(path, *bytes) : test::RemoveTree(path));
        }

        LoadedTemplates loaded = LoadTemplates(folder);
        ASSERT_FALSE(loaded.Refused());
        const std::map<std::string, std::string> own = Generate(AsGbk("own" + std::to_string(run++)), loaded.set);
        for (const auto& [role, bytes] : builtIn) {
            const auto edited = c.differs.find(role);
            EXPECT_EQ(test::Hex(own.at(role)), test::Hex(edited != c.differs.end() ? edited->second : bytes))
                << role;
        }
    }
}

struct RefusedCase {
    const char* name;
    AnsiString file;
    std::optional<std::string> bytes;  // nullopt: a folder of that name
    FindingKind kind;
};

TEST_F(OwnTemplates, RefusedFilesAreNamedAndNotUsed) {
    const RefusedCase cases[] = {
        {"emoji", "main-script.kx", "a\r\n😀\r\n", FindingKind::NotInCodePage},
        {"NUL", "window.kxwin", std::string("\0", 1), FindingKind::NulByte},
        {"saved as GBK", "public-library.kx", "\xB9\xAB\xB9\xB2", FindingKind::NotUtf8},
        {"empty", "project-file.kxproj", "", FindingKind::Empty},
        {"a folder", "runtime-settings.kx", std::nullopt, FindingKind::Unreadable},
        {"not a DLL", "GetPointXY.dll", "MZ", FindingKind::NotPointPicker},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::RemoveTree(folder) && test::MakeFolder(folder));
        const AnsiString path = test::JoinPath(folder, c.file);
        ASSERT_TRUE(c.bytes ? test::WriteFileBytes(path, *c.bytes) : test::MakeFolder(path));
        const LoadedTemplates loaded = LoadTemplates(folder);
        EXPECT_TRUE(loaded.Refused());
        ASSERT_EQ(loaded.findings.size(), 1u);
        EXPECT_EQ(loaded.findings[0].fileName, c.file);
        ASSERT_FALSE(loaded.findings[0].findings.empty());
        EXPECT_EQ(loaded.findings[0].findings.back().kind, c.kind);
        EXPECT_TRUE(loaded.set.texts.empty());
        EXPECT_FALSE(loaded.set.dll);
    }

    ASSERT_TRUE(test::RemoveTree(folder) && test::MakeFolder(folder));
    const LoadedTemplates empty = LoadTemplates(folder);
    EXPECT_TRUE(empty.Refused()) << "a folder without templates is a wrong folder";
    ASSERT_EQ(empty.findings.size(), 1u);
    EXPECT_EQ(empty.findings[0].findings.at(0).kind, FindingKind::NoTemplateFiles);
}

}  // namespace
}  // namespace kx
