#include "UpdateProject.h"

#include "FileWriting.h"
#include "FolderCleanup.h"
#include "PathSplit.h"

namespace kx {

UpdateOutcome UpdateProject(const UpdateRequest& request) {
    UpdatePlanning planning = PlanUpdate(request);
    if (!planning.plan || request.dryRun) return std::move(planning.ending);
    // The lock stays with planning until the record is written.
    return CarryOutUpdate(*planning.plan, std::move(planning.ending));
}

UpdateOutcome CarryOutUpdate(const UpdatePlan& plan, UpdateOutcome ending) {
    const auto ended = [&ending](UpdateKind kind) {
        ending.kind = kind;
        return std::move(ending);
    };
    try {
        if (!plan.toTrash.empty()) {
            // Every file that is rewritten keeps its old version in the trash.
            // The move looks again first: the project may have changed since
            // it was planned.
            const TrashResult moved = MoveFilesToTrash(plan.folder, plan.toTrash);
            switch (moved.outcome) {
                case TrashOutcome::NothingChanged:
                    ending.blocked = moved.check;
                    return ended(UpdateKind::OldFilesKept);
                case TrashOutcome::PartlyMoved:
                    ending.blocked = moved.check;
                    ending.oldFiles = OldFilesPlaceOf(moved);
                    return ended(UpdateKind::OldFilesSplit);
                case TrashOutcome::Moved:
                    ending.oldFiles = OldFilesPlaceOf(moved);
                    break;
            }
        }
        for (const PlannedWrite& write : plan.writes) {
            WriteWholeFile(plan.folder + kPathSeparator + write.relativePath, write.bytes);
        }
        // Last: a run that stops before this leaves the old record, and the
        // next update merges against it again, the files written now
        // counting as the user's.
        if (plan.record) WriteRecord(plan.folder, *plan.record);
        return ending;
    } catch (const KxError& error) {
        ending.error = error;
        return ended(UpdateKind::WriteFailed);
    }
}

}  // namespace kx
