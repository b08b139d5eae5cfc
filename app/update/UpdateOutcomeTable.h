// The one table from how an update ended to its exit code, and to whether
// its closing line reports a failure. kxgen words it (UpdateMessages.h).
#pragma once

#include "OutcomeTable.h"
#include "update/UpdateOutcome.h"

namespace kx {

struct UpdateReport {
    int exitCode = kExitWritten;
    bool failure = false;  // the closing line goes to standard error
};

UpdateReport ReportForUpdate(const UpdateOutcome& outcome);

}  // namespace kx
