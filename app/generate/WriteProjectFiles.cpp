#include "FileWriting.h"
#include "GenerateProject.h"
#include "PathSplit.h"

namespace kx {

void WriteProjectFiles(const GenerationPlan& plan, HostPort& host) {
    // Without the payload the project still opens; the scripts report the
    // missing DLL.
    plan.templates->WriteDll(plan.paths.folder + kPathSeparator + DllRelativePath());
    for (const ProjectTextFile& file : plan.textFiles) {
        WriteWholeFile(plan.paths.folder + kPathSeparator + file.relativePath, file.bytes);
    }
    host.ShellOpen(plan.paths.projectFile);
}

}  // namespace kx
