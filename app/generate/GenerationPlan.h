// What one press of Generate will do, worked out in full before anything on
// disk changes. PlanGeneration is the one place that lists every check; what
// it cannot rule out (a disk that fills up while writing) is left to
// CarryOutPlan.
#pragma once

#include <optional>
#include <vector>

#include "GenerationLock.h"
#include "Outcome.h"
#include "Ports.h"
#include "ProjectFileSet.h"

namespace kx {

struct GenerationPlan {
    AnsiString outputRoot;
    AnsiString name;
    ProjectPaths paths;
    // The project folder exists and the user agreed: its entries go to the
    // trash first, and it is not created again.
    bool regenerate = false;
    // The text files in writing order, with their bytes (the DLL is written
    // from the templates when the folders stand).
    std::vector<ProjectTextFile> textFiles;
    const TemplateSource* templates = nullptr;
    // What the record keeps; recordVersion empty: no record is written.
    std::string recordVersion;
    ProjectNameForms forms;
    AnsiString guid;
};

// A checked plan and the lock that keeps other generations out of the output
// root until it is carried out; or, without a plan, how the run ended (and
// nothing was changed).
struct Planning {
    std::optional<GenerationPlan> plan;
    std::optional<GenerationLock> lock;
    GenerationOutcome ending;
};

// The checks, in order:
//   1. the code page converts here;
//   2. the output root stands (made if missing);
//   3. the name (asked for now) is not empty after trimming, is a bare name,
//      and is one Windows can hold;
//   4. no other generation runs in the output root (the lock is taken);
//   5. the project folder is no link or junction;
//   6. the GUID and every file's bytes are made (the templates read, the
//      name put in, the texts converted);
//   7. every path of the project (its record too) fits its file system;
//   8. for an existing project: every entry can go to the trash (at every
//      depth no mount, nothing that may not be moved or is held open, a
//      trash outside the project), and then the user agrees.
Planning PlanGeneration(DialogPort& dialogs, HostPort& host);

}  // namespace kx
