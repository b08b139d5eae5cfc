// kxgen's own table from how a generation ended to what it says, in the
// user's language, with the details the outcome carries: the entry that
// keeps the old files and why, the Windows rule a name breaks, the path that
// is too long with its length and limit, the system's reason. The exit code
// stays with the one table in OutcomeTable.h.
#pragma once

#include <string>

#include "CliTexts.h"
#include "Language.h"
#include "Outcome.h"

namespace kx::cli {

struct EndingContext {
    std::string root;         // the output root as the user gave it (UTF-8, shown)
    bool rootGiven = false;   // by --root, rather than the default
    // The system's text for an error number, UTF-8, in the user's language
    // where the system has one.
    std::string (*systemReason)(int error) = nullptr;
    bool lengthsInBytes = true;  // PathFit's unit: bytes (POSIX) or UTF-16 units (Windows)
};

// The line for the ending, without prefix and line end; empty for Written.
std::string EndingMessage(const GenerationOutcome& outcome, Language language, const EndingContext& context);

// The texts for the details an ending carries, which an update shares: the
// Windows rule a name breaks, the path that does not fit, why the old files
// cannot go to the trash.
Text NameRuleText(WindowsNameRule rule);
Text TooLongText(const PathFit& fit);
Text OldFilesKeptText(const MoveCheck& check);

// Where a regeneration put the old files; empty when none were moved.
std::string OldFilesMessage(const OldFiles& old, Language language);

}  // namespace kx::cli
