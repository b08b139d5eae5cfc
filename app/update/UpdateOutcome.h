// How an update of a project ended, as a value: what was written, what
// conflicts, what was kept and why, or why nothing was changed. kxgen turns
// it into its lines and exit code through UpdateOutcomeTable.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Outcome.h"
#include "update/ProjectRecord.h"

namespace kx {

enum class UpdateKind {
    // Done: every planned file and the record written (with --dry-run: what
    // the run would end in, and nothing was written).
    Updated,     // files or the record changed, every merge clean
    Conflicts,   // as Updated, but some files conflict: each stays as it is, its merge beside it
    NothingNew,  // nothing to change: nothing was written, not even the record

    // Ended before the first change: nothing was changed.
    ConverterFailed,   // code page 936 cannot be converted here; error holds why
    NameEmpty,
    NameMalformed,
    NameNotCreatable,  // nameRule says which rule
    NameTooLong,       // a path the update would write does not fit; tooLong says which
    NoProject,         // no project folder of that name in the output root
    Busy,              // another generation or update holds the output root
    LockFailed,        // systemError
    LinkFolder,        // the project folder is a link or junction
    RecordUnusable,    // recordProblem says why
    FilesUnreadable,   // a file of the project cannot be read (held open, no permission); blocked says which
    OldFilesKept,      // a file to be rewritten cannot go to the trash; blocked says why
    PlanFailed,        // an error before the first change; error holds it

    // Stopped part way: what was done stays done.
    OldFilesSplit,  // only some old versions went to the trash, and nothing was written
    WriteFailed,    // the old versions are in the trash, a file or the record could not be written; error
};

// What the update does with one file of the project.
enum class FileFate {
    Unchanged,       // nothing new for it
    Merged,          // rewritten with the templates' changes, the user's own kept
    Replaced,        // the DLL: the user's copy was the generated one; now the templates' one
    Added,           // new in the templates and not in the project: written
    Conflict,        // both sides changed the same lines: kept as it is, the merge beside it
    KeptOwnCopy,     // the DLL: the user's own copy, kept
    KeptUnreadable,  // a link, no regular file, or not in its encoding: kept, not read
    DeletedByUser,   // generated once and deleted since: stays deleted
};

struct FileUpdate {
    AnsiString relativePath;  // in the project folder, joined with kPathSeparator
    FileFate fate = FileFate::Unchanged;
    bool lineEndsAsMine = false;  // merged with the user's line ends (FileMerge.h)
    std::size_t conflicts = 0;    // Conflict: the regions marked
    AnsiString mergePath;         // Conflict: where the merge goes (relativePath + ".merge")
    // With --dry-run, for Merged, Replaced, Added and Conflict: what the run
    // would write, as a unified diff against what is there (a/<path>,
    // b/<path>), or for the DLL one line saying that it differs.
    std::string diff;
};

struct UpdateOutcome {
    UpdateKind kind = UpdateKind::NothingNew;
    bool dryRun = false;
    AnsiString outputRoot;
    AnsiString name;
    ProjectPaths paths;
    std::vector<FileUpdate> files;  // once planned, in writing order, the DLL first
    bool recordCreated = false;     // the project had no record; its first one is written
    OldFiles oldFiles;              // where the old versions went
    MoveCheck blocked;              // FilesUnreadable, OldFilesKept, OldFilesSplit
    WindowsNameRule nameRule = WindowsNameRule::None;
    PathFit tooLong;
    RecordProblem recordProblem = RecordProblem::None;
    int systemError = 0;            // LockFailed
    std::optional<KxError> error;   // ConverterFailed, PlanFailed, WriteFailed
};

}  // namespace kx
