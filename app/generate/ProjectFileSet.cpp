#include "ProjectFileSet.h"

#include "PathSplit.h"
#include "SubstituteProjectName.h"
#include "Texts.h"
#include "UnitFunction.h"

namespace kx {

namespace {

AnsiString InSourceFolder(const AnsiString& name, const AnsiString& file) { return name + kPathSeparator + file; }

void Add(std::vector<ProjectTextFile>& files, AnsiString relativePath, std::string bytes) {
    // The writers write nothing for an empty text: the file is left out.
    if (!bytes.empty()) files.push_back({std::move(relativePath), std::move(bytes)});
}

}  // namespace

AnsiString DllRelativePath() { return AnsiString(texts::kBuildFolderName) + kPathSeparator + "GetPointXY.dll"; }

std::vector<ProjectTextFile> ProjectTextFiles(const TemplateSource& templates, const AnsiString& name,
                                              const AnsiString& guidText) {
    // The GUID names the program's single-instance event, so every project
    // gets its own; it comes before the template is read.
    const AnsiString guidLine = "var MyGUID=\"" + guidText + "\"\r\n";
    const AnsiString runtime = templates.Text("runtimefun");
    const AnsiString library = templates.Text("publicfun");
    const AnsiString window = templates.Text("form");
    AnsiString code = guidLine + templates.Text("code");
    const AnsiString keyScript = texts::kKeyScript;
    // File and folder names keep the name as typed; inside the files each
    // place gets the form of it that the place can hold, and where KX reads
    // a name, one that is none of the templates' own.
    const ProjectNameForms forms = NameFormsFor(name, WordsOfTemplates(window, {&code, &library, &runtime, &keyScript}));

    std::vector<ProjectTextFile> files;
    files.reserve(6);
    Add(files, InSourceFolder(name, texts::kRuntimeFunFile), Utf8FileBytes(runtime, true));
    Add(files, InSourceFolder(name, texts::kPublicFunFile), Utf8FileBytes(library, true));
    Add(files, name + ".kxproj",
        Utf8FileBytes(SubstituteProjectName(TemplateKind::ProjectFile, templates.Text("programe"), forms), true));
    Add(files, InSourceFolder(name, "main.kxwin"),
        Utf16FileBytes(SubstituteProjectName(TemplateKind::WindowFile, window, forms), true));
    AnsiString script = SubstituteProjectName(TemplateKind::Script, code, forms);
    AnsiString().swap(code);
    Add(files, InSourceFolder(name, name + ".kx"), Utf8FileBytes(script, true));
    AnsiString().swap(script);
    Add(files, InSourceFolder(name, texts::kKeyScriptFile), Utf8FileBytes(keyScript, true));
    return files;
}

}  // namespace kx
