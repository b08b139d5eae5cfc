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
    // File and folder names keep the name as typed; inside the files each
    // place gets the form of it that the place can hold.
    std::vector<ProjectTextFile> files;
    files.reserve(6);
    Add(files, InSourceFolder(name, texts::kRuntimeFunFile), Utf8FileBytes(templates.Text("runtimefun"), true));
    Add(files, InSourceFolder(name, texts::kPublicFunFile), Utf8FileBytes(templates.Text("publicfun"), true));
    Add(files, name + ".kxproj",
        Utf8FileBytes(SubstituteProjectName(TemplateKind::ProjectFile, templates.Text("programe"), name), true));
    Add(files, InSourceFolder(name, "main.kxwin"),
        Utf16FileBytes(SubstituteProjectName(TemplateKind::WindowFile, templates.Text("form"), name), true));
    // The GUID names the program's single-instance event, so every project
    // gets its own; it comes before the template is read.
    const AnsiString guidLine = "var MyGUID=\"" + guidText + "\"\r\n";
    Add(files, InSourceFolder(name, name + ".kx"),
        Utf8FileBytes(SubstituteProjectName(TemplateKind::Script, guidLine + templates.Text("code"), name), true));
    Add(files, InSourceFolder(name, texts::kKeyScriptFile), Utf8FileBytes(texts::kKeyScript, true));
    return files;
}

}  // namespace kx
