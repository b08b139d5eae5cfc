#include "GenerateProject.h"
#include "ReplaceAll.h"
#include "Texts.h"

namespace kx {

namespace {

const char kPlaceholder[] = "$ProjectName$";

}  // namespace

void WriteProjectFiles(const AnsiString& outputRoot, const AnsiString& name, HostPort& host) {
    const AnsiString projectFolder = outputRoot + "\\" + name;
    const AnsiString sourceFolder = projectFolder + "\\" + name;
    const AnsiString projectFile = projectFolder + "\\" + name + ".kxproj";
    const TemplateSource& templates = host.Templates();

    // Without the payload the project still opens; the scripts report the missing DLL.
    templates.WriteDll(projectFolder + "\\" + texts::kBuildFolderName + "\\GetPointXY.dll");

    SaveUtf8File(sourceFolder + "\\" + texts::kRuntimeFunFile, templates.Text("runtimefun"),
                 true);
    SaveUtf8File(sourceFolder + "\\" + texts::kPublicFunFile, templates.Text("publicfun"),
                 true);
    SaveUtf8File(projectFile, ReplaceAll(templates.Text("programe"), kPlaceholder, name),
                 true);
    SaveUtf16File(sourceFolder + "\\main.kxwin",
                  ReplaceAll(templates.Text("form"), kPlaceholder, name), true);

    // The GUID is made before the template is read; it names the program's
    // single-instance event, so every project gets its own.
    const AnsiString guidLine = "var MyGUID=\"" + NewGuidText() + "\"\r\n";
    SaveUtf8File(sourceFolder + "\\" + name + ".kx",
                 ReplaceAll(guidLine + templates.Text("code"), kPlaceholder, name), true);

    SaveUtf8File(sourceFolder + "\\" + texts::kKeyScriptFile, texts::kKeyScript, true);

    host.ShellOpen(projectFile);
}

}  // namespace kx
