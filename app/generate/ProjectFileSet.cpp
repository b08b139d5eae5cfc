#include "ProjectFileSet.h"

#include "PathSplit.h"
#include "SubstituteProjectName.h"
#include "Texts.h"
#include "UnitFunction.h"

namespace kx {

namespace {

AnsiString InSourceFolder(const AnsiString& name, const AnsiString& file) { return name + kPathSeparator + file; }

void Add(std::vector<ProjectTextFile>& files, AnsiString relativePath, std::string bytes,
         TextEncoding encoding = TextEncoding::Utf8) {
    // The writers write nothing for an empty text: the file is left out.
    if (!bytes.empty()) files.push_back({std::move(relativePath), std::move(bytes), encoding});
}

AnsiString GuidLine(const AnsiString& guidText) { return "var MyGUID=\"" + guidText + "\"\r\n"; }

}  // namespace

AnsiString DllRelativePath() { return AnsiString(texts::kBuildFolderName) + kPathSeparator + "GetPointXY.dll"; }

ProjectNameForms ProjectNameFormsFor(const TemplateSource& templates, const AnsiString& name) {
    // The words of the texts as ProjectTextFiles puts them together; the
    // GUID line adds none.
    const AnsiString runtime = templates.Text("runtimefun");
    const AnsiString library = templates.Text("publicfun");
    const AnsiString code = templates.Text("code");
    const AnsiString keyScript = texts::kKeyScript;
    return NameFormsFor(name, WordsOfTemplates(templates.Text("form"), {&code, &library, &runtime, &keyScript}));
}

std::vector<ProjectTextFile> ProjectTextFiles(const TemplateSource& templates, const AnsiString& name,
                                              const AnsiString& guidText) {
    // File and folder names keep the name as typed; inside the files each
    // place gets the form of it that the place can hold, and where KX reads
    // a name, one that is none of the templates' own.
    return ProjectTextFiles(templates, ProjectNameFormsFor(templates, name), guidText);
}

std::vector<ProjectTextFile> ProjectTextFiles(const TemplateSource& templates, const ProjectNameForms& forms,
                                              const AnsiString& guidText) {
    const AnsiString& name = forms.typed;
    // The GUID names the program's single-instance event, so every project
    // gets its own; the caller makes it before the templates are read.
    const AnsiString runtime = templates.Text("runtimefun");
    const AnsiString library = templates.Text("publicfun");
    const AnsiString window = templates.Text("form");
    AnsiString code = GuidLine(guidText);
    templates.LendText("code", [&code](AnsiView text) {
        code.reserve(code.size() + text.size());
        code += text;
    });
    const AnsiString keyScript = texts::kKeyScript;

    std::vector<ProjectTextFile> files;
    files.reserve(6);
    Add(files, InSourceFolder(name, texts::kRuntimeFunFile), Utf8FileBytes(runtime, true));
    Add(files, InSourceFolder(name, texts::kPublicFunFile), Utf8FileBytes(library, true));
    Add(files, name + ".kxproj",
        Utf8FileBytes(SubstituteProjectName(TemplateKind::ProjectFile, templates.Text("programe"), forms), true));
    Add(files, InSourceFolder(name, "main.kxwin"),
        Utf16FileBytes(SubstituteProjectName(TemplateKind::WindowFile, window, forms), true), TextEncoding::Utf16Le);
    // The main script's text is let go as soon as its bytes are made: with a
    // large template of the user's own, three copies would be too many.
    AnsiString script = SubstituteProjectName(TemplateKind::Script, code, forms);
    AnsiString().swap(code);
    Add(files, InSourceFolder(name, name + ".kx"), Utf8FileBytes(script, true));
    AnsiString().swap(script);
    Add(files, InSourceFolder(name, texts::kKeyScriptFile), Utf8FileBytes(keyScript, true));
    return files;
}

}  // namespace kx
