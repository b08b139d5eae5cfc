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
    const AnsiString window = templates.Text("form");
    TemplateWords words;
    templates.LendText("code", [&](AnsiView code) {
        words = WordsOfTemplates(window, {code, library, runtime, AnsiView(texts::kKeyScript)});
    });
    return NameFormsFor(name, words);
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
    const AnsiString keyScript = texts::kKeyScript;

    std::vector<ProjectTextFile> files;
    files.reserve(6);
    Add(files, InSourceFolder(name, texts::kRuntimeFunFile), Utf8FileBytes(runtime, true));
    Add(files, InSourceFolder(name, texts::kPublicFunFile), Utf8FileBytes(library, true));
    Add(files, name + ".kxproj",
        Utf8FileBytes(SubstituteProjectName(TemplateKind::ProjectFile, templates.Text("programe"), forms), true));
    Add(files, InSourceFolder(name, "main.kxwin"),
        Utf16FileBytes(SubstituteProjectName(TemplateKind::WindowFile, window, forms), true), TextEncoding::Utf16Le);
    // The main script goes into its file's bytes as it is substituted: a
    // large template of the user's own is never held twice in GBK.
    templates.LendText("code", [&](AnsiView code) {
        Utf8FileBytesInPieces script(true, code.size());
        struct Into final : SubstitutedPieces {
            Utf8FileBytesInPieces& bytes;
            explicit Into(Utf8FileBytesInPieces& b) : bytes(b) {}
            void Append(AnsiView piece) override { bytes.Append(piece); }
        } into(script);
        into.Append(GuidLine(guidText));
        SubstituteInto(into, TemplateKind::Script, code, forms);
        Add(files, InSourceFolder(name, name + ".kx"), script.Finish());
    });
    Add(files, InSourceFolder(name, texts::kKeyScriptFile), Utf8FileBytes(keyScript, true));
    return files;
}

}  // namespace kx
