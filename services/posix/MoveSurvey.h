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

}  // namespace kx
