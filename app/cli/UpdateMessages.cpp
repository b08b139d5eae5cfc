#include "UpdateMessages.h"

#include <iterator>

#include "GenerationLock.h"
#include "PathSplit.h"
#include "ShownText.h"

namespace kx::cli {

namespace {

Text HeldOpenOr(const MoveCheck& check, Text otherwise) {
    return check.block == MoveBlock::HeldOpen && !check.entry.empty() ? Text::UpdateFileHeldOpen : otherwise;
}

// The text an ending picks, by the details it carries; where a generation
// ends the same way, its text.
Text EndingText(const UpdateOutcome& outcome) {
    switch (outcome.kind) {
        case UpdateKind::Updated: return Text::UpdateDone;
        case UpdateKind::Conflicts: return Text::UpdateConflicts;
        case UpdateKind::NothingNew: return Text::UpdateNothingNew;
        case UpdateKind::ConverterFailed: return Text::ConverterFailed;
        case UpdateKind::NameEmpty: return Text::NameEmpty;
        case UpdateKind::NameMalformed: return Text::NameMalformed;
        case UpdateKind::NameNotCreatable: return NameRuleText(outcome.nameRule);
        case UpdateKind::NameTooLong: return TooLongText(outcome.tooLong);
        case UpdateKind::NoProject: return Text::UpdateNoProject;
        case UpdateKind::Busy: return Text::UpdateBusy;
        case UpdateKind::LockFailed: return Text::LockFailed;
        case UpdateKind::LinkFolder: return Text::LinkFolder;
        case UpdateKind::RecordUnusable: return Text::UpdateRecordUnusable;
        case UpdateKind::FilesUnreadable: return HeldOpenOr(outcome.blocked, Text::UpdateFileUnreadable);
        case UpdateKind::OldFilesKept: return HeldOpenOr(outcome.blocked, OldFilesKeptText(outcome.blocked));
        case UpdateKind::PlanFailed: return Text::UpdatePlanFailed;
        case UpdateKind::OldFilesSplit: return Text::UpdateOldFilesSplit;
        case UpdateKind::WriteFailed: return Text::UpdateWriteFailed;
    }
    return Text::UpdatePlanFailed;
}

Text RecordText(RecordProblem problem) {
    switch (problem) {
        case RecordProblem::Unreadable: return Text::RecordUnreadable;
        case RecordProblem::Malformed: return Text::RecordMalformed;
        case RecordProblem::HashMismatch: return Text::RecordHashMismatch;
        case RecordProblem::OtherProject: return Text::RecordOtherProject;
        case RecordProblem::None: break;
    }
    return Text::RecordMalformed;
}

int SystemErrorOf(const UpdateOutcome& outcome) {
    return outcome.kind == UpdateKind::LockFailed ? outcome.systemError : outcome.blocked.systemError;
}

}  // namespace

std::string UpdateEndingMessage(const UpdateOutcome& outcome, Language language, const EndingContext& context) {
    const PathFit& fit = outcome.tooLong;
    const int error = SystemErrorOf(outcome);
    const std::string reason = error != 0 && context.systemReason != nullptr ? context.systemReason(error) : "";
    const std::string message =
        Say(language, EndingText(outcome),
            {{"name", ShownAnsi(outcome.name)},
             {"folder", ShownAnsi(outcome.paths.folder)},
             {"root", context.root},
             {"lock", context.root + kPathSeparator + kGenerationLockName},
             {"entry", ShownAnsi(outcome.paths.folder + kPathSeparator + outcome.blocked.entry)},
             {"record", ShownAnsi(outcome.paths.folder + kPathSeparator + RecordRelativePath())},
             {"why", Pattern(language, RecordText(outcome.recordProblem))},
             {"path", ShownAnsi(fit.path)},
             {"length", std::to_string(fit.length)},
             {"limit", std::to_string(fit.limit)},
             {"unit", Pattern(language, context.lengthsInBytes ? Text::UnitBytes : Text::UnitCharacters)},
             {"because", Because(language, reason)},
             {"error", outcome.error ? ShownAnsi(outcome.error->Message()) : std::string()}});
    return outcome.dryRun ? Pattern(language, Text::UpdateDryRun) + message : message;
}

std::string FileLine(const FileUpdate& file, Language language) {
    Text text = Text::FileMerged;
    switch (file.fate) {
        case FileFate::Unchanged: return {};
        case FileFate::Merged: text = Text::FileMerged; break;
        case FileFate::Replaced: text = Text::FileReplaced; break;
        case FileFate::Added: text = Text::FileAdded; break;
        case FileFate::Conflict: text = Text::FileConflict; break;
        case FileFate::KeptOwnCopy: text = Text::FileKeptOwnCopy; break;
        case FileFate::KeptUnreadable: text = Text::FileKeptUnreadable; break;
        case FileFate::DeletedByUser: text = Text::FileStaysDeleted; break;
    }
    std::string line = Say(language, text,
                           {{"path", ShownAnsi(file.relativePath)},
                            {"count", std::to_string(file.conflicts)},
                            {"merge", ShownAnsi(file.mergePath)}});
    if (file.lineEndsAsMine) line += Pattern(language, Text::FileMergedWithYourLineEnds);
    return line;
}

std::string RecordCreatedLine(const UpdateOutcome& outcome, Language language) {
    const bool written = outcome.kind == UpdateKind::Updated || outcome.kind == UpdateKind::Conflicts;
    if (!outcome.recordCreated || !written) return {};
    return Say(language, Text::RecordCreated,
               {{"path", ShownAnsi(outcome.paths.folder + kPathSeparator + kRecordFolderName)}});
}

}  // namespace kx::cli
