// The script files of one project as the checker reads them, from either of
// two places: the template sources with the generator's two transformations
// applied by hand, or a project that WriteProjectFiles really wrote.
#pragma once

#include <string>
#include <vector>

#include "KxTypes.h"
#include "ScriptChecker.h"

namespace kx::script::test {

// File names inside the source folder, UTF-8.
inline const std::string kRuntimeFunFile = u8"运行时设置函数.kx";
inline const std::string kPublicFunFile = u8"公共库.kx";
inline const std::string kKeyScriptFile = u8"按键脚本.kx";
inline const std::string kWindowFile = "main.kxwin";
inline const std::string kPlaceholder = "$ProjectName$";

// Texts are UTF-8 without byte-order marks; name is UTF-8 too.
struct ProjectTexts {
    std::string name;
    std::string code;  // the GUID line included
    std::string runtimeFun;
    std::string publicFun;
    std::string keyScript;
    std::string window;

    std::string MainScriptFile() const { return name + ".kx"; }
};

std::string ReadBytes(const std::string& path);
// templates/text/<name>.txt of the source tree: UTF-8 with CR LF.
std::string TemplateSource(const std::string& name);
std::string ReplaceEvery(std::string text, const std::string& pattern, const std::string& by);

// The templates as the generator would transform them, with a fixed GUID.
ProjectTexts FromTemplates(const std::string& name);

struct CheckedProject {
    Script code, runtimeFun, publicFun, keyScript;
    WindowFile window;
    Diagnostics diagnostics;  // of reading every file and of the whole-set check
};

CheckedProject CheckProject(const ProjectTexts& texts);

// A project written by WriteProjectFiles into a fresh temporary output root
// (removed again on destruction), read back byte for byte.
class GeneratedProject {
public:
    explicit GeneratedProject(const std::string& name);
    ~GeneratedProject();
    GeneratedProject(const GeneratedProject&) = delete;
    GeneratedProject& operator=(const GeneratedProject&) = delete;

    // The bytes of a file, by its path relative to the project folder with "/"
    // between the parts (UTF-8); empty when the file is missing.
    std::string File(const std::string& relative) const;
    // The text files decoded to UTF-8 without byte-order marks.
    ProjectTexts Texts() const;

    kx::AnsiString projectFolderAnsi;    // as the generator got it
    std::vector<kx::AnsiString> opened;  // what the host was asked to open

private:
    std::string root_;  // the temporary output root, a native path
    std::string name_;
};

// "file:line: message" lines, for failure output.
std::string Describe(const Diagnostics& diagnostics);

}  // namespace kx::script::test
