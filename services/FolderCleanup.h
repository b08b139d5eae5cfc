// Clearing a project folder for a new generation without losing anything:
// the old entries go to the platform's trash, or nothing happens at all.
#pragma once

#include "UnitFunction.h"

namespace kx {

enum class TrashOutcome {
    // Every entry (every non-folder without subfolders) is in the trash now.
    Moved,
    // Nothing was changed: the folder is a link, a junction or missing, an
    // entry is a mount of its own, permissions forbid the move, or no trash
    // can take the entries.
    NothingChanged,
    // The move stopped part way (the disk filled up, say): what was moved is
    // in the trash, the rest is still in the folder.
    PartlyMoved,
};

struct TrashResult {
    TrashOutcome outcome = TrashOutcome::NothingChanged;
    // Where the moved entries are, for telling the user: the trash's files
    // folder on POSIX; empty for the Windows Recycle Bin, which has no one
    // folder to show.
    AnsiString trashFolder;
};

// Moves every entry directly inside dir (with includeSubfolders false only
// the entries that are not folders) to the trash; dir itself stays. Never
// deletes anything for good and never follows a link out of dir: a dir that
// is itself a link or a junction is refused. Shows nothing on POSIX; on
// Windows the shell asks before anything would be destroyed instead of
// recycled.
TrashResult MoveFolderContentsToTrash(const AnsiString& dir, bool includeSubfolders);

}  // namespace kx
