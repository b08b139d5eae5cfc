// Clearing a project folder for a new generation without losing anything:
// the old entries go to the platform's trash, or nothing happens at all.
//
// Two steps, so that a generation can know before its first change whether
// the old files can be kept: CheckFolderContentsMove looks at everything and
// changes nothing; MoveFolderContentsToTrash moves (checking again first, as
// the folder may have changed in between).
#pragma once

#include <vector>

#include "UnitFunction.h"

namespace kx {

// Why the entries of a folder cannot all go to the trash.
enum class MoveBlock {
    None,
    // The folder is missing, not an absolute path the ANSI calls read as it
    // is, or itself a link or junction (never entered).
    NotAFolder,
    // A folder inside cannot be listed, or an entry cannot be looked at.
    Unreadable,
    // An entry, at any depth, is another mount (a bind mount, a mounted
    // volume, a junction on Windows): moving it would carry another file
    // system's files into the trash.
    OtherMount,
    // An entry may not be moved: immutable or append-only, or the
    // permissions (the sticky bit, a folder's own write permission for its
    // "..") forbid it. Root too: root cannot move an immutable file.
    Unmovable,
    // Another program holds an entry open (Windows: it cannot be moved).
    HeldOpen,
    // No trash can take the entries: none can be made, the drive has no
    // Recycle Bin, the trash lies on another mount.
    NoTrash,
    // The only trash for them would lie inside the folder itself (the folder
    // is the top of its mount): it would be moved along next time.
    TrashInside,
};

struct MoveCheck {
    MoveBlock block = MoveBlock::None;
    // The entry concerned, relative to the folder and joined with the
    // platform's separator ("sub/inner" on POSIX, "sub\\inner" on Windows);
    // empty for the folder itself and for the trash.
    AnsiString entry;
    // The system's error number where the system said why (errno,
    // GetLastError), else 0.
    int systemError = 0;

    bool Clear() const { return block == MoveBlock::None; }
};

// Looks at every entry inside dir at every depth, links never followed, and
// at the trash they would go to. Changes nothing.
MoveCheck CheckFolderContentsMove(const AnsiString& dir);

enum class TrashOutcome {
    // Every entry is in the trash now.
    Moved,
    // Nothing was changed; check says why.
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
    // With NothingChanged (and PartlyMoved, where known): why.
    MoveCheck check;
    // Windows: the bin refused some items and the user agreed, when the shell
    // asked, to delete them for good. Never set on POSIX.
    bool deletedForGood = false;
};

// Moves every entry directly inside dir (with includeSubfolders false only
// the entries that are not folders) to the trash; dir itself stays. Runs the
// checks of CheckFolderContentsMove first and changes nothing when one
// fails. Never deletes anything for good on its own and never follows a link
// out of dir. Shows nothing on POSIX; on Windows the shell asks before
// anything would be destroyed instead of recycled.
TrashResult MoveFolderContentsToTrash(const AnsiString& dir, bool includeSubfolders);

// The same for single files of a folder that stays, each before it is
// rewritten: relativePaths are files (never folders) inside folder, joined
// with kPathSeparator. Checked as the folder's entries are: reached without
// a link or junction on the way, no other mount, each one movable (not
// immutable, on Windows not held open by another program), and a trash
// outside folder. A path with nothing at it needs no move and is passed.
// CheckFilesToTrash changes nothing; MoveFilesToTrash checks again first and
// changes nothing when a check fails. entry in a check is the relative path.
MoveCheck CheckFilesToTrash(const AnsiString& folder, const std::vector<AnsiString>& relativePaths);
TrashResult MoveFilesToTrash(const AnsiString& folder, const std::vector<AnsiString>& relativePaths);

}  // namespace kx
