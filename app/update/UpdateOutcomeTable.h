// The one table from how an update ended to what kxgen says and its exit
// code. The update is kxgen's alone, so its words are kxgen's own, in English
// and in Simplified Chinese, UTF-8; names and paths in them are converted
// from GBK here and shown as they are (the front end makes control
// characters visible).
#pragma once

#include <string>

#include "OutcomeTable.h"
#include "update/UpdateOutcome.h"

namespace kx {

enum class ReportLanguage { English, Chinese };

struct UpdateReport {
    int exitCode = kExitWritten;
    bool failure = false;  // a line for standard error rather than standard output
    std::string message;   // the closing line, without line end
};

UpdateReport ReportForUpdate(const UpdateOutcome& outcome, ReportLanguage language);

// The line for one file ("updated: demo/demo.kx"); empty for one with
// nothing to say (Unchanged).
std::string FileLine(const FileUpdate& file, ReportLanguage language);

// Where the old versions went; empty when none moved.
std::string OldVersionsLine(const OldFiles& oldFiles, ReportLanguage language);

// "record created: demo/.kxgen" when the run writes a project's first record.
std::string RecordCreatedLine(const UpdateOutcome& outcome, ReportLanguage language);

// Put before the closing line of a dry run.
std::string DryRunPrefix(ReportLanguage language);

}  // namespace kx
