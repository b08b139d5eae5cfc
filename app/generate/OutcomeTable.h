// The one table from how a generation ended to what the user is told: the
// Windows program's message box and kxgen's exit code. Nothing else turns
// an outcome into words or a status.
#pragma once

#include "Outcome.h"

namespace kx {

// How the Windows program shows an ending; each front end maps these to its
// own means (the message box's icon and buttons, a line on a terminal).
enum class Notice {
    None,          // nothing is shown: the project opens, or the user said no
    Information,   // caption "提示", information icon, OK
    Error,         // caption "错误", stop icon, OK
    ErrorDisplay,  // the program's error display with the error's message
};

// kxgen's exit codes.
enum ExitCode : int {
    kExitWritten = 0,    // the project was written
    kExitUnchanged = 1,  // stopped before any change: nothing was changed
    kExitUsage = 2,      // a wrong command line, or a name that cannot be used
    kExitKept = 3,       // the project exists and was not regenerated
    kExitPartial = 4,    // stopped part way: the message says what was done
    kExitOutput = 5,     // the project was written, but kxgen's output could not be
    kExitConflicts = 6,  // updated, with conflicts: each conflicting file kept, its merge beside it
};

struct OutcomeReport {
    Notice notice = Notice::None;
    AnsiString caption;  // GBK; empty for None and ErrorDisplay
    AnsiString text;     // GBK; for ErrorDisplay the error's message
    int exitCode = kExitWritten;
};

OutcomeReport ReportFor(const GenerationOutcome& outcome);

}  // namespace kx
