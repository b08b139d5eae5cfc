// The freedesktop.org Trash: files/ holds the trashed entries and
// info/<name>.trashinfo tells where each came from and when.
//
// Entries are only ever renamed into a trash on their own mount: the home
// trash ($XDG_DATA_HOME/Trash, by default ~/.local/share/Trash) when it lies
// on the same mount as the entry, otherwise the trash in the top folder of
// the entry's mount: $topdir/.Trash/$uid when $topdir/.Trash is a real
// folder (not a link) with the sticky bit, else $topdir/.Trash-$uid. A trash
// that would lie inside the folder being emptied is never used: the next
// clean-up would carry it off with the rest.
//
// An info file is written whole under a temporary name (<name>.kxpart, which
// no trash reader takes for an info file), made durable, and only then
// renamed to <name>.trashinfo (never replacing one; a hard link where the
// file system cannot rename so), so that a run killed at any moment leaves no
// empty or half-written info file. A temporary a killed run left is removed
// when a later run meets it: runs hold a shared lock on info/ while they
// write, so one that can lock it alone knows the writer is gone.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "FolderCleanup.h"
#include "PosixFiles.h"

namespace kx {

// "%"-encodes every byte of a UTF-8 path but A-Z a-z 0-9 - _ . ~ and /.
std::string PercentEncodePath(const std::string& path);

// "[Trash Info]\nPath=<encoded>\nDeletionDate=YYYY-MM-DDThh:mm:ss\n" (local time).
std::string TrashInfoText(const std::string& path, const std::tm& localTime);

// The home trash folder: $XDG_DATA_HOME/Trash when that variable holds an
// absolute path, else $HOME/.local/share/Trash; empty when neither is known.
std::string HomeTrashFolder();

// The mount a file lies on. A bind mount shares its device with the file
// system it shows but is a mount of its own, and rename() does not cross it:
// the kernel's mount id tells them apart where it is known.
struct MountIdentity {
    std::uint64_t device = 0;
    std::uint64_t mount = 0;  // 0 when the kernel does not tell
    bool operator==(const MountIdentity& other) const {
        return device == other.device && (mount == 0 || other.mount == 0 || mount == other.mount);
    }
    bool operator!=(const MountIdentity& other) const { return !(*this == other); }
};

// The mount of what statx described (asked with STATX_MNT_ID).
MountIdentity MountOfStatx(const struct statx& sx);

// The mount of name in the folder dirFd (name "" for dirFd itself), links
// not followed; nothing when it cannot be read.
std::optional<MountIdentity> MountOf(int dirFd, const std::string& name);

// The name an entry gets in files/ when its own name is taken or too long:
// the name (cut at a UTF-8 character boundary so that, with "." and number
// and ".trashinfo", it fits nameMax bytes), "." and the number. Number 0
// asks for the name alone, which must then fit with ".trashinfo".
std::string TrashEntryName(const std::string& name, unsigned long number, std::size_t nameMax);

// What a trash move changes, in order, so that tests can stop a move before
// any of them (kill it, fail the step, throw) and look at what is left.
enum class TrashStep {
    MakeFolder,       // a level of the trash: Trash/, files/, info/
    CreateInfo,       // the info file under its temporary name
    WriteInfo,
    SyncInfo,
    NameInfo,         // the complete info file renamed to its own name
    LinkInfo,         // or linked, where the file system cannot rename without replacing
    RemoveTemporary,  // after a failure or a link
    MoveEntry,        // the entry into files/
    RemoveInfo,       // the info file again, when its entry could not move
};
// Called before each step; 0 lets the step run, an errno makes it fail as if
// the system had said so. Only tests set one.
using TrashStepHook = int (*)(TrashStep step);
void SetTrashStepHook(TrashStepHook hook);
// Runs the hook before step: false, with errno set, when it fails the step.
bool TrashStepAllowed(TrashStep step);

// Why no trash will do for entries of a folder: NoTrash or TrashInside,
// with the system's error where it gave one.
struct TrashVerdict {
    MoveBlock block = MoveBlock::None;
    int systemError = 0;
};

// Looks for the trash that entries of the folder whose real absolute path is
// folderPath and which lies on mount would go to, and whether it stands or
// could be made, without making anything: each of its levels that stands is
// a folder we may write to (the top-folder trash one of ours alone) on the
// folder's mount, and the first missing one lies in such a folder.
TrashVerdict LookForTrash(const std::string& folderPath, const MountIdentity& mount);

class Trash {
public:
    // The trash LookForTrash finds, its missing levels made (mode 0700).
    // Nothing, with error set, when none can be used after all.
    static std::optional<Trash> For(const std::string& folderPath, const MountIdentity& mount, int& error);

    // The absolute path of the trash folder (the one holding files/ and info/).
    const std::string& Folder() const { return folder_; }

    enum class MoveResult {
        Moved,
        Gone,    // the entry is no longer there: nothing to keep
        Failed,  // errno says why; the entry is where it was, no info file for it
    };
    // Moves the entry name of the folder parentFd (real absolute path
    // parentPath) into files/, after its info file is complete in info/.
    MoveResult Move(int parentFd, const std::string& parentPath, const std::string& name);

private:
    enum class Reservation { Made, Taken, Failed };

    Trash(std::string folder, std::string topdir, FileDescriptor files, FileDescriptor info);
    bool InfoTaken(const std::string& entryName) const;
    // A number from `from` on whose info file is free; nothing when the
    // numbers run out.
    std::optional<unsigned long> FreeNumber(const std::string& name, unsigned long from) const;
    // Writes the info file for entryName whole, then gives it its name.
    Reservation Reserve(const std::string& entryName, const std::string& text);
    // Removes another run's temporary when that run is dead.
    bool SweepIfLeftOver(const std::string& temporary, bool locked);

    std::string folder_;
    std::string topdir_;  // empty for the home trash, whose info files hold absolute paths
    FileDescriptor files_;
    FileDescriptor info_;
    std::size_t nameMax_ = 255;
};

}  // namespace kx
