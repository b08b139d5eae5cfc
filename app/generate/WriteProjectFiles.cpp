#include "FileWriting.h"
#include "GenerateProject.h"
#include "PathSplit.h"
#include "update/ProjectRecord.h"

namespace kx {

void WriteProjectFiles(const GenerationPlan& plan, HostPort& host) {
    // Without the payload the project still opens; the scripts report the
    // missing DLL.
    const bool dllWritten = plan.templates->WriteDll(plan.paths.folder + kPathSeparator + DllRelativePath());
    for (const ProjectTextFile& file : plan.textFiles) {
        WriteWholeFile(plan.paths.folder + kPathSeparator + file.relativePath, file.bytes);
    }
    // Last, so that a record always tells of files that were written whole;
    // a DLL that could not be written is none the record knows of.
    if (!plan.recordVersion.empty()) {
        WriteRecordOf(plan.paths.folder, plan.recordVersion, plan.forms, plan.guid, TemplateFingerprint(*plan.templates),
                      plan.textFiles, dllWritten ? plan.templates->DllBytes() : std::string());
    }
    host.ShellOpen(plan.paths.projectFile);
}

}  // namespace kx
