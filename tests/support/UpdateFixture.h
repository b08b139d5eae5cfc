// The fixture of tests that update a project: a temporary output root, a
// small template set of the test's own (short texts, so that expected bytes
// can be written out in full) that generation and update both read and a
// test edits in between, and a host that keeps a record as kxgen does. On
// POSIX old versions go to a trash of the test's own ($XDG_DATA_HOME below
// the temporary folder).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "CodePage.h"
#include "GenerateProject.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "templates/TemplateSet.h"
#include "update/UpdateOutcomeTable.h"
#include "update/UpdateProject.h"
#ifndef _WIN32
#include "posix/ScopedEnvironment.h"
#include "NativePath.h"
#endif

namespace kx::test {

// UTF-8 (as the test sources are written) to UTF-16LE bytes, for golden
// window files; characters beyond U+FFFF do not occur in them.
inline std::string Utf16Le(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(utf8[k])); };
        unsigned unit = b(i);
        std::size_t length = 1;
        if (unit >= 0xE0) {
            unit = (unit & 0x0F) << 12 | (b(i + 1) & 0x3F) << 6 | (b(i + 2) & 0x3F);
            length = 3;
        } else if (unit >= 0xC0) {
            unit = (unit & 0x1F) << 6 | (b(i + 1) & 0x3F);
            length = 2;
        }
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
        i += length;
    }
    return out;
}

inline const std::string kUtf8Bom = "\xEF\xBB\xBF";
inline const std::string kUtf16Bom = "\xFF\xFE";

class RecordingHost : public FixedHost {
public:
    RecordingHost(AnsiString outputRoot, const TemplateSource& templates)
        : FixedHost(std::move(outputRoot)), templates_(templates) {}
    const TemplateSource& Templates() override { return templates_; }
    std::string RecordVersion() override { return "9.9-test"; }

private:
    const TemplateSource& templates_;
};

class UpdateFixture : public ::testing::Test {
public:  // tables stage their cases on the fixture
    UpdateFixture() : outputRoot(temp.Child("root")), host(outputRoot, templates) {
#ifndef _WIN32
        env.Set("XDG_DATA_HOME", NativePath(temp.Child("xdg")));
#endif
        // Templates in UTF-8 here, GBK as TemplateSet holds them.
        templates.texts["runtimefun"] = AnsiFromUtf8("// 运行时\r\n");
        templates.texts["publicfun"] = AnsiFromUtf8("一\r\n二\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n");
        templates.texts["programe"] = AnsiFromUtf8("<Project><EnterFile>$ProjectName$.kx</EnterFile></Project>\r\n");
        templates.texts["form"] = AnsiFromUtf8("窗口 $ProjectName$ \"$ProjectName$\" 0,0,1,1|\r\n按钮 甲 \"甲\" 1,1,2,2|\r\n"
                                               "按钮 乙 \"乙\" 2,2,3,3|\r\n按钮 丙 \"丙\" 3,3,4,4|\r\n窗口结束\r\n");
        templates.texts["code"] = AnsiFromUtf8("var MyCaption=\"$ProjectName$\"\r\n// 甲\r\n// 乙\r\n// 丙\r\n// 丁\r\n");
        templates.dll = std::string("MZ old point picker", 19);
    }

    // Generates name as kxgen does (with a record); true when it was written.
    bool Generate(const AnsiString& name) {
        ScriptedDialogs dialogs;
        dialogs.promptAnswers = {name};
        return GenerateProject(dialogs, host).kind == OutcomeKind::Written;
    }

    UpdateOutcome Update(const AnsiString& name, bool dryRun = false) {
        UpdateRequest request;
        request.outputRoot = outputRoot;
        request.name = name;
        request.templates = &templates;
        request.programVersion = "9.9-test";
        request.dryRun = dryRun;
        return UpdateProject(request);
    }

    static int ExitCodeOf(const UpdateOutcome& outcome) {
        return ReportForUpdate(outcome).exitCode;
    }

    // What a failed expectation prints: the kind, and the entry or error it names.
    static std::string Described(const UpdateOutcome& outcome) {
        std::string text = "update ended in kind " + std::to_string(static_cast<int>(outcome.kind));
        if (!outcome.blocked.entry.empty()) text += ", entry " + std::string(BytesOf(outcome.blocked.entry));
        if (outcome.error) text += ": " + std::string(outcome.error->what());
        return text;
    }

    // A path inside the project name, relative parts joined with "/" in UTF-8.
    AnsiString PathIn(const AnsiString& name, const std::string& relativeUtf8) const {
        AnsiString path = JoinPath(outputRoot, name);
        std::string part;
        for (const char c : relativeUtf8 + "/") {
            if (c != '/') {
                part += c;
                continue;
            }
            path = JoinPath(path, AnsiFromUtf8(part));
            part.clear();
        }
        return path;
    }

    // Template text edited in UTF-8: the one line `from` (without line end) becomes `to`.
    void EditTemplate(const char* resource, const std::string& from, const std::string& to) {
        std::string text = Utf8FromAnsi(templates.texts[resource]);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        templates.texts[resource] = AnsiFromUtf8(text);
    }

    TempFolder temp;
    AnsiString outputRoot;
    TemplateSet templates;
    RecordingHost host;
#ifndef _WIN32
    ScopedEnvironment env;  // every variable a test sets is put back
#endif
};

// Everything below a folder: each entry's bytes ("<folder>" for a folder)
// and modification time, the folder's own included, for proving that a run
// wrote nothing. Set every time to an old one first (Age), so that any write
// shows whatever the clock's resolution.
inline void Age(const AnsiString& path) {
    SetModifiedTime(path, 1000000000);
    if (!FolderExists(path)) return;
    for (const AnsiString& name : ListFolder(path)) Age(JoinPath(path, name));
    SetModifiedTime(path, 1000000000);
}

inline std::map<AnsiString, std::string> TreeOf(const AnsiString& path) {
    std::map<AnsiString, std::string> tree;
    const auto walk = [&tree](const auto& self, const AnsiString& at, const AnsiString& relative) -> void {
        const bool folder = FolderExists(at);
        tree[relative] = (folder ? std::string("<folder>") : ReadFileBytes(at).value_or("<unreadable>")) + " @" +
                         std::to_string(ModifiedTime(at).value_or(-1));
        if (!folder) return;
        for (const AnsiString& name : ListFolder(at)) self(self, JoinPath(at, name), relative + "/" + name);
    };
    walk(walk, path, "");
    return tree;
}

}  // namespace kx::test
