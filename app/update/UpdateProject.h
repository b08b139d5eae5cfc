// Bringing template changes into a project the user has edited, in place:
// kxgen --update. The Windows program has no such button.
#pragma once

#include "update/UpdatePlan.h"

namespace kx {

// Plans and checks the whole update (UpdatePlan.h), then, unless it is a dry
// run, carries it out. Returns how it ended; it shows nothing itself.
UpdateOutcome UpdateProject(const UpdateRequest& request);

// Carries out a checked plan: the old versions to the trash, the files
// written in order, the record last.
UpdateOutcome CarryOutUpdate(const UpdatePlan& plan, UpdateOutcome ending);

}  // namespace kx
