#include "GenerateProject.h"

#include "FileSystem.h"
#include "FolderCleanup.h"

namespace kx {

OldFiles OldFilesPlaceOf(const TrashResult& moved) {
    OldFiles old;
    old.place = moved.trashFolder.empty() ? OldFilesPlace::RecycleBin : OldFilesPlace::Trash;
    old.folder = moved.trashFolder;
    old.someDeletedForGood = moved.deletedForGood;
    return old;
}

namespace {

GenerationOutcome Ended(OutcomeKind kind, GenerationOutcome ending) {
    ending.kind = kind;
    return ending;
}

}  // namespace

GenerationOutcome GenerateProject(DialogPort& dialogs, HostPort& host) {
    Planning planning = PlanGeneration(dialogs, host);
    if (!planning.plan) return std::move(planning.ending);
    // The lock stays with planning until the last file is written.
    return CarryOutPlan(*planning.plan, host, std::move(planning.ending));
}

GenerationOutcome CarryOutPlan(const GenerationPlan& plan, HostPort& host, GenerationOutcome ending) {
    try {
        if (plan.regenerate) {
            // The old contents go to the trash, so a mistaken "OK" costs
            // nothing. The move looks again before it starts: the folder may
            // have changed while the user was asked.
            const TrashResult moved = MoveFolderContentsToTrash(plan.paths.folder, true);
            switch (moved.outcome) {
                case TrashOutcome::NothingChanged:
                    ending.blocked = moved.check;
                    return Ended(OutcomeKind::OldFilesKept, std::move(ending));
                case TrashOutcome::PartlyMoved:
                    ending.blocked = moved.check;
                    ending.oldFiles = OldFilesPlaceOf(moved);
                    return Ended(OutcomeKind::OldFilesSplit, std::move(ending));
                case TrashOutcome::Moved:
                    ending.oldFiles = OldFilesPlaceOf(moved);
                    break;
            }
        } else if (!CreateFolder(plan.paths.folder)) {
            ending.systemError = LastSystemError();
            return Ended(OutcomeKind::ProjectFolderFailed, std::move(ending));
        }

        // Created, never looked for: the project folder is empty or new.
        if (!CreateFolder(plan.paths.sourceFolder)) {
            ending.systemError = LastSystemError();
            return Ended(OutcomeKind::SourceFolderFailed, std::move(ending));
        }
        if (!CreateFolder(plan.paths.buildFolder)) {
            ending.systemError = LastSystemError();
            return Ended(OutcomeKind::BuildFolderFailed, std::move(ending));
        }

        WriteProjectFiles(plan, host);
        return Ended(OutcomeKind::Written, std::move(ending));
    } catch (const KxError& error) {
        // A file that cannot be created or written whole, or a disk that
        // fills up: what was written stays, and the outcome says where it
        // stopped.
        ending.error = error;
        if (const auto* created = dynamic_cast<const EFCreateError*>(&error)) {
            ending.failedFile = {FileStep::Create, created->Path(), created->SystemText()};
        } else if (const auto* written = dynamic_cast<const EWriteError*>(&error)) {
            if (!written->Path().empty()) ending.failedFile = {FileStep::Write, written->Path(), AnsiString()};
        }
        return Ended(OutcomeKind::WriteFailed, std::move(ending));
    }
}

}  // namespace kx
