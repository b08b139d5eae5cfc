#include "UpdateOutcomeTable.h"

#include "TableOrder.h"

namespace kx {

namespace {

struct Row {
    UpdateKind kind;
    int exitCode;
};

// Every ending, once, in the order of UpdateKind.
constexpr Row kRows[] = {
    {UpdateKind::Updated, kExitWritten},
    {UpdateKind::Conflicts, kExitConflicts},
    {UpdateKind::NothingNew, kExitWritten},
    {UpdateKind::ConverterFailed, kExitUnchanged},
    {UpdateKind::NameEmpty, kExitUsage},
    {UpdateKind::NameMalformed, kExitUsage},
    {UpdateKind::NameNotCreatable, kExitUsage},
    {UpdateKind::NameTooLong, kExitUsage},
    {UpdateKind::NoProject, kExitUnchanged},
    {UpdateKind::Busy, kExitUnchanged},
    {UpdateKind::LockFailed, kExitUnchanged},
    {UpdateKind::LinkFolder, kExitUnchanged},
    {UpdateKind::RecordUnusable, kExitUnchanged},
    {UpdateKind::FilesUnreadable, kExitUnchanged},
    {UpdateKind::OldFilesKept, kExitUnchanged},
    {UpdateKind::PlanFailed, kExitUnchanged},
    {UpdateKind::OldFilesSplit, kExitPartial},
    {UpdateKind::WriteFailed, kExitPartial},
};

static_assert(RowsFollow(kRows, &Row::kind, ValuesUpTo(UpdateKind::WriteFailed)),
              "one row per ending, in the order of UpdateKind");

}  // namespace

UpdateReport ReportForUpdate(const UpdateOutcome& outcome) {
    UpdateReport report;
    report.exitCode = kRows[static_cast<std::size_t>(outcome.kind)].exitCode;
    report.failure = report.exitCode != kExitWritten && report.exitCode != kExitConflicts;
    return report;
}

}  // namespace kx
