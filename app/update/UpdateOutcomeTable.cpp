#include "UpdateOutcomeTable.h"

#include <iterator>

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

constexpr bool RowsFollowTheKinds() {
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        if (static_cast<std::size_t>(kRows[i].kind) != i) return false;
    }
    return std::size(kRows) == static_cast<std::size_t>(UpdateKind::WriteFailed) + 1;
}
static_assert(RowsFollowTheKinds(), "one row per ending, in the order of UpdateKind");

}  // namespace

UpdateReport ReportForUpdate(const UpdateOutcome& outcome) {
    UpdateReport report;
    report.exitCode = kRows[static_cast<std::size_t>(outcome.kind)].exitCode;
    report.failure = report.exitCode != kExitWritten && report.exitCode != kExitConflicts;
    return report;
}

}  // namespace kx
