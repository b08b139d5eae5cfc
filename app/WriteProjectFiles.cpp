#include "GenerateProject.h"
#include "ProjectPaths.h"
#include "SubstituteProjectName.h"
#include "Texts.h"
#include "UnitFunction.h"

namespace kx {

void WriteProjectFiles(const AnsiString& outputRoot, const AnsiString& name, HostPort& host) {
    const ProjectPaths paths = ProjectPathsFor(outputRoot, name);
    const AnsiString& sourceFolder = paths.sourceFolder;
    // File and folder names keep the name as typed; inside the files each
    // place gets the form of it that the place can hold.
    const TemplateSource& templates = host.Templates();

    // Without the payload the project still opens; the scripts report the missing DLL.
    templates.WriteDll(paths.buildFolder + "\\GetPointXY.dll");

    SaveUtf8File(sourceFolder + "\\" + texts::kRuntimeFunFile, templates.Text("runtimefun"),
                 true);
    SaveUtf8File(sourceFolder + "\\" + texts::kPublicFunFile, templates.Text("publicfun"),
                 true);
    SaveUtf8File(paths.projectFile,
                 SubstituteProjectName(TemplateKind::ProjectFile, templates.Text("programe"), name),
                 true);
    SaveUtf16File(sourceFolder + "\\main.kxwin",
                  SubstituteProjectName(TemplateKind::WindowFile, templates.Text("form"), name),
                  true);

    // The GUID is made before the template is read; it names the program's
    // single-instance event, so every project gets its own.
    const AnsiString guidLine = "var MyGUID=\"" + NewGuidText() + "\"\r\n";
    SaveUtf8File(sourceFolder + "\\" + name + ".kx",
                 SubstituteProjectName(TemplateKind::Script, guidLine + templates.Text("code"), name),
                 true);

    SaveUtf8File(sourceFolder + "\\" + texts::kKeyScriptFile, texts::kKeyScript, true);

    host.ShellOpen(paths.projectFile);
}

}  // namespace kx
