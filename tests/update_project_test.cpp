// kxgen --update through the real workflow on a temporary folder: a project
// is generated with a record, the user's side and the templates' side are
// edited, and the update must leave exactly the bytes written out below and
// end with the right exit code. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/UpdateFixture.h"

namespace kx {
namespace {

using test::JoinPath;
using test::kUtf16Bom;
using test::kUtf8Bom;
using test::Utf16Le;

class UpdateProjectTest : public test::UpdateFixture {
public:
    void Write(const std::string& relative, const std::string& bytes, const AnsiString& name = "demo") {
        ASSERT_TRUE(test::WriteFileBytes(PathIn(name, relative), bytes)) << relative;
    }
};

const std::string kLibrary = kUtf8Bom + "一\r\n二\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n";
const std::string kWindow = "窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"甲\" 1,1,2,2|\r\n按钮 乙 \"乙\" 2,2,3,3|\r\n"
                            "按钮 丙 \"丙\" 3,3,4,4|\r\n窗口结束\r\n";

struct EditCase {
    const char* what;
    std::function<void(UpdateProjectTest&)> mine;    // edits the project after generation
    std::function<void(UpdateProjectTest&)> theirs;  // edits the templates after generation
    int exitCode;
    std::string file;      // the file looked at, below the project folder ("/" between folders)
    std::string expected;  // its bytes afterwards; "{GUID}" stands for the project's own; empty: no file
    std::string merge;     // the bytes of file + ".merge"; empty: none
    AnsiString name = "demo";
    std::function<void(UpdateProjectTest&)> before = nullptr;  // edits the templates before generation
};

TEST_F(UpdateProjectTest, EachPairOfEditsEndsInTheseBytesAndThisExitCode) {
    const auto nothing = [](UpdateProjectTest&) {};
    const auto mineLibrary = [](std::string bytes) {
        return [bytes](UpdateProjectTest& t) { t.Write("demo/公共库.kx", bytes); };
    };
    const auto theirs = [](const char* resource, std::string from, std::string to) {
        return [=](UpdateProjectTest& t) { t.EditTemplate(resource, from, to); };
    };
    const std::string conflictOnFour = kUtf8Bom +
                                       "一\r\n二\r\n三\r\n<<<<<<< yours: demo/公共库.kx\r\n四 mine\r\n||||||| generated\r\n"
                                       "四\r\n=======\r\n四 theirs\r\n>>>>>>> templates\r\n五\r\n六\r\n七\r\n八\r\n";
    const std::string windowMerge =
        kUtf16Bom + Utf16Le("窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"甲\" 1,1,2,2|\r\n"
                            "<<<<<<< yours: demo/main.kxwin\r\n按钮 乙 \"我的\" 2,2,3,3|\r\n||||||| generated\r\n"
                            "按钮 乙 \"乙\" 2,2,3,3|\r\n=======\r\n按钮 乙 \"模板的\" 2,2,3,3|\r\n>>>>>>> templates\r\n"
                            "按钮 丙 \"丙\" 3,3,4,4|\r\n窗口结束\r\n");
    const EditCase cases[] = {
        {"none x none", nothing, nothing, 0, "demo/公共库.kx", kLibrary, ""},
        {"none x a line", nothing, theirs("publicfun", "二", "二 theirs"), 0, "demo/公共库.kx",
         kUtf8Bom + "一\r\n二 theirs\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n", ""},
        {"a line x none", mineLibrary(kUtf8Bom + "一\r\n二 mine\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"), nothing, 0,
         "demo/公共库.kx", kUtf8Bom + "一\r\n二 mine\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n", ""},
        {"the same region, changed differently",
         mineLibrary(kUtf8Bom + "一\r\n二\r\n三\r\n四 mine\r\n五\r\n六\r\n七\r\n八\r\n"),
         theirs("publicfun", "四", "四 theirs"), 6, "demo/公共库.kx",
         kUtf8Bom + "一\r\n二\r\n三\r\n四 mine\r\n五\r\n六\r\n七\r\n八\r\n", conflictOnFour},
        {"the same region, changed alike",
         mineLibrary(kUtf8Bom + "一\r\n二\r\n三\r\n四 both\r\n五\r\n六\r\n七\r\n八\r\n"),
         theirs("publicfun", "四", "四 both"), 0, "demo/公共库.kx",
         kUtf8Bom + "一\r\n二\r\n三\r\n四 both\r\n五\r\n六\r\n七\r\n八\r\n", ""},
        {"neighbouring regions (lines 4 and 5) are one region",
         mineLibrary(kUtf8Bom + "一\r\n二\r\n三\r\n四 mine\r\n五\r\n六\r\n七\r\n八\r\n"),
         theirs("publicfun", "五", "五 theirs"), 6, "demo/公共库.kx",
         kUtf8Bom + "一\r\n二\r\n三\r\n四 mine\r\n五\r\n六\r\n七\r\n八\r\n",
         kUtf8Bom + "一\r\n二\r\n三\r\n<<<<<<< yours: demo/公共库.kx\r\n四 mine\r\n五\r\n||||||| generated\r\n"
                    "四\r\n五\r\n=======\r\n四\r\n五 theirs\r\n>>>>>>> templates\r\n六\r\n七\r\n八\r\n"},
        {"far regions", mineLibrary(kUtf8Bom + "一\r\n二 mine\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"),
         theirs("publicfun", "七", "七 theirs"), 0, "demo/公共库.kx",
         kUtf8Bom + "一\r\n二 mine\r\n三\r\n四\r\n五\r\n六\r\n七 theirs\r\n八\r\n", ""},
        {"file deleted x changed",
         [](UpdateProjectTest& t) { ASSERT_TRUE(test::RemoveTree(t.PathIn("demo", "demo/公共库.kx"))); },
         theirs("publicfun", "二", "二 theirs"), 0, "demo/公共库.kx", "", ""},
        {"a file of the user's x a file new in the templates",
         [](UpdateProjectTest& t) { t.Write("demo/notes.txt", "mine alone"); },
         [](UpdateProjectTest& t) { t.templates.texts["publicfun"] = AnsiFromUtf8("新\r\n"); }, 0, "demo/公共库.kx",
         kUtf8Bom + "新\r\n", "", "demo",
         [](UpdateProjectTest& t) { t.templates.texts["publicfun"] = ""; }},
        {"every line end made LF x a line",
         mineLibrary(kUtf8Bom + "一\n二\n三\n四\n五\n六\n七\n八\n"), theirs("publicfun", "七", "七 theirs"), 0,
         "demo/公共库.kx", kUtf8Bom + "一\n二\n三\n四\n五\n六\n七 theirs\n八\n", ""},
        {"GBK trail byte 5C: the name 乗 and the line 乗 between the two changes",
         [](UpdateProjectTest& t) {
             const AnsiString name = AnsiFromUtf8("乗");
             const std::string script = test::ReadFileBytes(t.PathIn(name, "乗/乗.kx")).value_or("");
             std::string edited = script;
             edited.replace(edited.find("// 甲"), std::string("// 甲").size(), "// 甲 mine");
             t.Write("乗/乗.kx", edited, name);
         },
         [](UpdateProjectTest& t) {
             t.EditTemplate("code", "// 乙", "// 乗");
             t.EditTemplate("code", "// 丙", "// 丙 theirs");
         },
         0, "乗/乗.kx",
         kUtf8Bom + "var MyGUID=\"{GUID}\"\r\nvar MyCaption=\"乗\"\r\n// 甲 mine\r\n// 乗\r\n// 丙 theirs\r\n// 丁\r\n", "",
         AnsiFromUtf8("乗"), theirs("code", "// 乙", "// 乗")},
        {"the window file (UTF-16LE), far regions",
         [](UpdateProjectTest& t) {
             t.Write("demo/main.kxwin",
                     kUtf16Bom + Utf16Le("窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"我的\" 1,1,2,2|\r\n按钮 乙 \"乙\" "
                                         "2,2,3,3|\r\n按钮 丙 \"丙\" 3,3,4,4|\r\n窗口结束\r\n"));
         },
         theirs("form", "按钮 丙 \"丙\"", "按钮 丙 \"模板的\""), 0, "demo/main.kxwin",
         kUtf16Bom + Utf16Le("窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"我的\" 1,1,2,2|\r\n按钮 乙 \"乙\" 2,2,3,3|\r\n"
                             "按钮 丙 \"模板的\" 3,3,4,4|\r\n窗口结束\r\n"),
         ""},
        {"the window file (UTF-16LE), the same line",
         [](UpdateProjectTest& t) {
             t.Write("demo/main.kxwin",
                     kUtf16Bom + Utf16Le("窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"甲\" 1,1,2,2|\r\n按钮 乙 \"我的\" "
                                         "2,2,3,3|\r\n按钮 丙 \"丙\" 3,3,4,4|\r\n窗口结束\r\n"));
         },
         theirs("form", "按钮 乙 \"乙\"", "按钮 乙 \"模板的\""), 6, "demo/main.kxwin",
         kUtf16Bom + Utf16Le("窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"甲\" 1,1,2,2|\r\n按钮 乙 \"我的\" 2,2,3,3|\r\n"
                             "按钮 丙 \"丙\" 3,3,4,4|\r\n窗口结束\r\n"),
         windowMerge},
        {"the name keeps its forms when the templates take its word",
         nothing, theirs("publicfun", "八", "八\r\nfunction demo()\r\nend"), 0, "demo/main.kxwin",
         kUtf16Bom + Utf16Le(kWindow), ""},
        {"the DLL as generated x a new DLL", nothing,
         [](UpdateProjectTest& t) { t.templates.dll = "MZ new point picker"; }, 0, "生成/GetPointXY.dll",
         "MZ new point picker", ""},
        {"the user's own DLL x a new DLL", [](UpdateProjectTest& t) { t.Write("生成/GetPointXY.dll", "MZ mine"); },
         [](UpdateProjectTest& t) { t.templates.dll = "MZ new point picker"; }, 0, "生成/GetPointXY.dll", "MZ mine",
         ""},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        const TemplateSet original = templates;
        if (c.before) c.before(*this);
        ASSERT_TRUE(Generate(c.name));
        templates = original;
        const std::string mainScript = test::ReadFileBytes(PathIn(c.name, Utf8FromAnsi(c.name) + "/" +
                                                                              Utf8FromAnsi(c.name) + ".kx"))
                                           .value_or("");
        const std::string guid = mainScript.substr(mainScript.find('{'), 38);
        c.mine(*this);
        c.theirs(*this);
        const std::optional<std::string> notes = test::ReadFileBytes(PathIn("demo", "demo/notes.txt"));

        const UpdateOutcome outcome = Update(c.name);
        templates = original;
        EXPECT_EQ(ExitCodeOf(outcome), c.exitCode) << Described(outcome);
        std::string expected = c.expected;
        if (expected.find("{GUID}") != std::string::npos) expected.replace(expected.find("{GUID}"), 6, guid);
        const std::optional<std::string> file = test::ReadFileBytes(PathIn(c.name, c.file));
        EXPECT_EQ(file.value_or(""), expected) << test::Hex(file.value_or(""));
        EXPECT_EQ(file.has_value(), !expected.empty());
        const std::optional<std::string> merge = test::ReadFileBytes(PathIn(c.name, c.file + ".merge"));
        EXPECT_EQ(merge.value_or(""), c.merge);
        EXPECT_EQ(test::ReadFileBytes(PathIn("demo", "demo/notes.txt")), notes) << "the user's own file is untouched";
    }
}

TEST_F(UpdateProjectTest, AFileTheUpdateLeftAloneGetsTheTemplatesChangesOnceItIsBack) {
    const struct {
        const char* what;
        std::string file;
        std::string away;      // the user's file meanwhile; empty: deleted
        FileFate fate;         // what the first update does with it
        const char* resource;  // the template changed, a line of it
        std::string from, to;
        std::string expected;  // after the user put the generated file back and updated again
    } cases[] = {
        {"deleted, then back", "demo/公共库.kx", "", FileFate::DeletedByUser, "publicfun", "二", "二 theirs",
         kUtf8Bom + "一\r\n二 theirs\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"},
        {"saved in another encoding, then back", "demo/main.kxwin", kWindow, FileFate::KeptUnreadable, "form",
         "按钮 丙 \"丙\"", "按钮 丙 \"模板的\"",
         kUtf16Bom + Utf16Le("窗口 demo \"demo\" 0,0,1,1|\r\n按钮 甲 \"甲\" 1,1,2,2|\r\n按钮 乙 \"乙\" 2,2,3,3|\r\n"
                             "按钮 丙 \"模板的\" 3,3,4,4|\r\n窗口结束\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::RemoveTree(outputRoot);
        const TemplateSet original = templates;
        ASSERT_TRUE(Generate("demo"));
        const std::string generated = test::ReadFileBytes(PathIn("demo", c.file)).value_or("");
        if (c.away.empty()) {
            ASSERT_TRUE(test::RemoveTree(PathIn("demo", c.file)));
        } else {
            Write(c.file, c.away);
        }
        EditTemplate(c.resource, c.from, c.to);
        const UpdateOutcome first = Update("demo");
        for (const FileUpdate& file : first.files) {
            if (file.relativePath == PathIn("demo", c.file).substr(JoinPath(outputRoot, "demo").size() + 1)) {
                EXPECT_EQ(file.fate, c.fate);
            }
        }
        Write(c.file, generated);
        EXPECT_EQ(ExitCodeOf(Update("demo")), 0);
        EXPECT_EQ(test::ReadFileBytes(PathIn("demo", c.file)).value_or(""), c.expected);
        templates = original;
    }
}

}  // namespace
}  // namespace kx
