#include "GenerateProject.h"
#include "SubstituteProjectName.h"
#include "Texts.h"

namespace kx {

void WriteProjectFiles(const AnsiString& outputRoot, const AnsiString& name, HostPort& host) {
    const AnsiString projectFolder = outputRoot + "\\" + name;
    const AnsiString sourceFolder = projectFolder + "\\" + name;
    const AnsiString projectFile = projectFolder + "\\" + name + ".kxproj";
    // File and folder names keep the name as typed; inside the files each
    // place gets the form of it that the place can hold.

    // Without the payload the project still opens; the scripts report the missing DLL.
    ExtractResourceToFile(projectFolder + "\\" + texts::kBuildFolderName + "\\GetPointXY.dll",
                          "GetPointXY", "dll");

    SaveUtf8File(sourceFolder + "\\" + texts::kRuntimeFunFile, ReadTextResource("runtimefun", "txt"),
                 true);
    SaveUtf8File(sourceFolder + "\\" + texts::kPublicFunFile, ReadTextResource("publicfun", "txt"),
                 true);
    SaveUtf8File(projectFile,
                 SubstituteProjectName(TemplateKind::ProjectFile, ReadTextResource("programe", "txt"), name),
                 true);
    SaveUtf16File(sourceFolder + "\\main.kxwin",
                  SubstituteProjectName(TemplateKind::WindowFile, ReadTextResource("form", "txt"), name),
                  true);

    // The GUID is made before the template is read; it names the program's
    // single-instance event, so every project gets its own.
    const AnsiString guidLine = "var MyGUID=\"" + NewGuidText() + "\"\r\n";
    SaveUtf8File(sourceFolder + "\\" + name + ".kx",
                 SubstituteProjectName(TemplateKind::Script, guidLine + ReadTextResource("code", "txt"), name),
                 true);

    SaveUtf8File(sourceFolder + "\\" + texts::kKeyScriptFile, texts::kKeyScript, true);

    host.ShellOpen(projectFile);
}

}  // namespace kx
