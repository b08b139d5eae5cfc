// How a press of Generate ended, as a value: the one thing the workflow hands
// back. Each front end turns it into its messages and exit code through
// OutcomeTable.h; nothing downstream looks at message texts or side effects.
#pragma once

#include <optional>

#include "FolderCleanup.h"
#include "KxTypes.h"
#include "PathLimits.h"
#include "PathRules.h"
#include "ProjectPaths.h"

namespace kx {

enum class OutcomeKind {
    // Complete: every file written and the shell asked to open the project.
    Written,

    // Ended before the first change: nothing was created, moved or written
    // (the output root excepted, which is made before the name is asked).
    Kept,                 // the project exists and the user did not agree to regenerate it
    ConverterFailed,      // code page 936 cannot be converted here; error holds why
    RootFailed,           // the output root does not exist and cannot be made
    NameEmpty,            // nothing left of the name after trimming
    NameMalformed,        // not the bare name of a new folder in the output root
    NameNotCreatable,     // a name Windows cannot hold; nameRule says which rule
    NameTooLong,          // a path of the project would not fit; tooLong says which
    Busy,                 // another generation holds the output root
    LockFailed,           // the output root cannot be locked
    LinkFolder,           // the project folder is a link or junction
    OldFilesKept,         // the old files cannot all go to the trash; blocked says why
    PlanFailed,           // an error before the first change (no GUID, say); error holds it
    ProjectFolderFailed,  // the new project folder cannot be created

    // Stopped part way: what was done stays done, and the report says what.
    OldFilesSplit,        // only some old files went to the trash, the rest are in place
    SourceFolderFailed,   // the source folder cannot be created
    BuildFolderFailed,    // the build folder cannot be created
    WriteFailed,          // a file cannot be written; error holds it
};

// Where the old files of a regenerated project went.
enum class OldFilesPlace {
    None,        // there were none: a new project, or nothing was moved
    Trash,       // the desktop trash; folder is its files folder
    RecycleBin,  // the Windows Recycle Bin of the drive
};

struct OldFiles {
    OldFilesPlace place = OldFilesPlace::None;
    AnsiString folder;
    // The bin refused some of them and the user agreed, when Windows asked,
    // that those be deleted for good.
    bool someDeletedForGood = false;
};

// The file a generation stopped at (WriteFailed), for a front end that words
// the message itself; the error's message says the same in the Windows
// program's words.
enum class FileStep {
    None,    // no file was the cause
    Create,  // the file could not be created; systemText says why
    Write,   // the file was created but not written whole
};

struct FailedFile {
    FileStep step = FileStep::None;
    AnsiString path;
    AnsiString systemText;  // the system's text, in its own language
};

struct GenerationOutcome {
    OutcomeKind kind = OutcomeKind::Written;
    AnsiString name;      // the trimmed project name, once it was asked for
    ProjectPaths paths;   // once the name passed its checks
    OldFiles oldFiles;    // with every kind after the old files were moved
    MoveCheck blocked;    // OldFilesKept, OldFilesSplit
    WindowsNameRule nameRule = WindowsNameRule::None;  // NameNotCreatable
    PathFit tooLong;      // NameTooLong
    // The system's error number (errno, GetLastError) where the system said
    // why: RootFailed, LockFailed, ProjectFolderFailed, SourceFolderFailed,
    // BuildFolderFailed; else 0. The old files' reason is blocked.systemError.
    int systemError = 0;
    std::optional<KxError> error;  // ConverterFailed, PlanFailed, WriteFailed
    FailedFile failedFile;          // WriteFailed
};

// Where a trash move says the old files went.
OldFiles OldFilesPlaceOf(const TrashResult& moved);

// True for the kinds that changed nothing on disk.
bool ChangedNothing(OutcomeKind kind);

}  // namespace kx
