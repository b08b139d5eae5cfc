// The freedesktop.org Trash: files/ holds the trashed entries and
// info/<name>.trashinfo tells where each came from and when.
//
// Entries are only ever renamed into a trash on their own mount: the home
// trash ($XDG_DATA_HOME/Trash, by default ~/.local/share/Trash) when it lies
// on the same mount as the entry, otherwise the trash in the top folder of
// the entry's mount: $topdir/.Trash/$uid when $topdir/.Trash is a real
// folder (not a link) with the sticky bit, else $topdir/.Trash-$uid.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <set>
#include <string>

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

// The mount of name in the folder dirFd (name "" for dirFd itself), links
// not followed; nothing when it cannot be read.
std::optional<MountIdentity> MountOf(int dirFd, const std::string& name);

// The name an entry gets in files/ when its own name is taken or too long:
// the name (cut at a UTF-8 character boundary so that, with "." and number
// and ".trashinfo", it fits nameMax bytes), "." and the number. Number 0
// asks for the name alone, which must then fit with ".trashinfo".
std::string TrashEntryName(const std::string& name, unsigned long number, std::size_t nameMax);

class Trash {
public:
    // The trash for entries of the folder whose real absolute path is
    // folderPath and which lies on mount, created as needed (mode 0700).
    // Nothing when no trash on that mount can be used.
    static std::optional<Trash> For(const std::string& folderPath, const MountIdentity& mount);

    // The absolute path of the trash folder (the one holding files/ and info/).
    const std::string& Folder() const { return folder_; }

    // Moves the entry name of the folder parentFd (real absolute path
    // parentPath) into files/, after its info file is complete in info/.
    // False, with the entry left in place and no info file, when it cannot
    // be moved (a full disk, no permission, another mount).
    bool Move(int parentFd, const std::string& parentPath, const std::string& name);

private:
    Trash(std::string folder, std::string topdir, FileDescriptor files, FileDescriptor info);
    // A free name for name, from one listing of info/ (no probing).
    std::string FreeName(const std::string& name);

    std::string folder_;
    std::string topdir_;  // empty for the home trash, whose info files hold absolute paths
    FileDescriptor files_;
    FileDescriptor info_;
    std::size_t nameMax_ = 255;
    bool listed_ = false;
    std::set<std::string> taken_;  // names in use in info/ (without ".trashinfo")
};

}  // namespace kx
