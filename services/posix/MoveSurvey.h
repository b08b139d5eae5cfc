// Everything a move of a folder's entries to the trash depends on, looked at
// before the first change: the folder, every entry at every depth (links are
// looked at as links, never followed) and the trash.
#pragma once

#include <string>
#include <vector>

#include "FolderCleanup.h"
#include "Trash.h"

namespace kx {

struct MovePlan {
    std::string folderPath;           // the folder's real absolute path
    MountIdentity mount;              // the folder's mount
    std::vector<std::string> moving;  // the names of the entries that move
};

// Looks at the folder behind folderFd, whose absolute path is native, and
// fills plan; changes nothing. The first obstacle found is returned, in the
// order: the folder itself (once an entry is to move), then entry by entry
// as listed, depth first: whether it can be looked at, whether it is
// another mount, whether it may be moved (the folder's direct entries only),
// whether a folder can be listed; at last the trash.
MoveCheck SurveyMove(int folderFd, const std::string& native, bool includeSubfolders, MovePlan& plan);

// The same for single files deep inside the folder (relative paths joined
// with '/', UTF-8): each reached from the folder without following a link,
// on the folder's mount, no folder, and one that may be renamed out of its
// own folder; then the trash. A file that is missing needs no move and is
// passed; plan.moving gets the paths of those that are there. Changes
// nothing.
MoveCheck SurveyFileMoves(int folderFd, const std::string& native, const std::vector<std::string>& relativePaths,
                          MovePlan& plan);

// The folder that holds relativePath's last component, opened from folderFd
// level by level without following a link; invalid, with errno set, when a
// level is missing, a link or no folder. name gets the last component.
FileDescriptor OpenParentOf(int folderFd, const std::string& relativePath, std::string& name);

}  // namespace kx
