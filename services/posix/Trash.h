// The user's freedesktop.org Trash ("home trash"): $XDG_DATA_HOME/Trash, by
// default ~/.local/share/Trash, with files/ holding the trashed entries and
// info/<name>.trashinfo telling where each came from and when.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "PosixFiles.h"

namespace kx {

// "%"-encodes every byte of an absolute UTF-8 path but A-Z a-z 0-9 - _ . ~ and /.
std::string PercentEncodePath(const std::string& path);

// "[Trash Info]\nPath=<encoded>\nDeletionDate=YYYY-MM-DDThh:mm:ss\n" (local time).
std::string TrashInfoText(const std::string& absolutePath, const std::tm& localTime);

// The home trash folder: $XDG_DATA_HOME/Trash when that variable holds an
// absolute path, else $HOME/.local/share/Trash; empty when neither is known.
std::string HomeTrashFolder();

class HomeTrash {
public:
    // Opens (creating as needed, mode 0700) the home trash; nothing when that
    // is not possible.
    static std::optional<HomeTrash> Open();

    // Moves the entry name of the folder parentFd (whose absolute UTF-8 path is
    // parentPath) into the trash by renaming it, under a name that is free in
    // both files/ and info/ ("name", "name.2", "name.3", ...). False, with the
    // entry left in place and no info file, when it cannot be moved: another
    // file system, a name too long, no permission.
    bool Move(int parentFd, const std::string& parentPath, const std::string& name) const;

private:
    HomeTrash(FileDescriptor files, FileDescriptor info) : files_(std::move(files)), info_(std::move(info)) {}
    FileDescriptor files_;
    FileDescriptor info_;
};

}  // namespace kx
