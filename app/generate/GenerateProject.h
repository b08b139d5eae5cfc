// The tool's one job: from a project name to a complete project folder.
#pragma once

#include "GenerationPlan.h"
#include "Outcome.h"
#include "Ports.h"

namespace kx {

// Asks for the name, plans and checks the whole run (GenerationPlan.h), and
// only then changes anything. Returns how it ended; it shows nothing itself.
GenerationOutcome GenerateProject(DialogPort& dialogs, HostPort& host);

// Carries out a checked plan: the old files to the trash or a new project
// folder, the source and build folders, then WriteProjectFiles.
GenerationOutcome CarryOutPlan(const GenerationPlan& plan, HostPort& host, GenerationOutcome ending);

// Writes the DLL and the text files of the plan into the prepared folders,
// then asks the shell to open the project file. Throws the writers' errors.
void WriteProjectFiles(const GenerationPlan& plan, HostPort& host);

}  // namespace kx
