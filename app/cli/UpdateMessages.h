// kxgen's words for how an update ended and for what it did to each file,
// in the user's language. The exit code stays with UpdateOutcomeTable.h.
#pragma once

#include <string>

#include "EndingMessages.h"
#include "update/UpdateOutcome.h"

namespace kx::cli {

// The closing line, without prefix and line end. A dry run says so first.
std::string UpdateEndingMessage(const UpdateOutcome& outcome, Language language, const EndingContext& context);

// The line for one file ("updated: demo.kx"); empty for one with nothing to
// say (Unchanged).
std::string FileLine(const FileUpdate& file, Language language);

// "record created: ..." when the run writes a project's first record.
std::string RecordCreatedLine(const UpdateOutcome& outcome, Language language);

}  // namespace kx::cli
