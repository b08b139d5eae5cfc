// What `kxgen --update NAME` will do to a project, worked out in full before
// anything on disk changes: every file merged in memory, every path and every
// move to the trash checked. PlanUpdate is the one place that lists the
// checks; CarryOutUpdate (UpdateProject.h) only moves and writes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "GenerationLock.h"
#include "TemplateSource.h"
#include "update/UpdateOutcome.h"

namespace kx {

struct UpdateRequest {
    AnsiString outputRoot;  // absolute; the project is outputRoot\name
    AnsiString name;        // as given; trimmed and checked here
    const TemplateSource* templates = nullptr;  // what the project is brought up to
    std::string programVersion;                 // kept in the record
    bool dryRun = false;                        // plan, check and report; change nothing
};

struct PlannedWrite {
    AnsiString relativePath;
    std::string bytes;
};

struct UpdatePlan {
    AnsiString folder;                  // the project folder
    std::vector<AnsiString> toTrash;    // old versions moved before anything is written
    std::vector<PlannedWrite> writes;   // in order
    std::optional<ProjectRecord> record;  // written last; none when it stays as it is
};

// A checked plan and the lock that keeps other generations and updates out
// of the output root until it is carried out (a dry run takes none: it would
// write the lock file); or, without a plan, how the run ended.
struct UpdatePlanning {
    std::optional<UpdatePlan> plan;
    std::optional<GenerationLock> lock;
    UpdateOutcome ending;  // with a plan: the kind the run ends in when all goes well
};

// The checks, in order:
//   1. the code page converts here;
//   2. the name is not empty after trimming, is a bare name, one Windows
//      can hold;
//   3. no other generation or update runs in the output root (the lock);
//   4. the project folder is no link or junction, and it exists;
//   5. the record, when there is one, is whole and of this project;
//   6. every file of the project merged: the user's file (never read
//      through a link), what was generated (the record's, else what the
//      templates give now) and what the templates give now, with the
//      project's own GUID (its main script's, else the record's) and names;
//   7. every path the update writes fits its file system;
//   8. every file it replaces can go to the trash.
UpdatePlanning PlanUpdate(const UpdateRequest& request);

}  // namespace kx
