// How long the names and paths of a new project may be where it is written,
// so that a generation can refuse a name before it writes the first file
// rather than fail at the fifth.
#pragma once

#include <vector>

#include "KxTypes.h"

namespace kx {

struct PathFit {
    bool fits = true;
    // What does not fit: one name (a component) or the whole path.
    bool nameTooLong = false;
    AnsiString path;          // the whole path concerned
    std::size_t length = 0;   // its length (of the name, or of the path) ...
    std::size_t limit = 0;    // ... and the most the system takes, in the same units
};

// A path below a folder, and whether it names a folder (or a file).
struct PathBelow {
    AnsiString relative;  // components separated by kPathSeparator
    bool isFolder = false;
};

// The first of paths that does not fit the file system below folder, an
// existing folder (asked once): of folder + separator + relative, every
// component of relative as a name, and the whole as a path. A PathFit that
// fits when they all do.
//   Windows: a name of at most 255 UTF-16 units; a whole path below MAX_PATH
//            (259 units), or for a folder below MAX_PATH - 12 (247 units),
//            as CreateDirectoryA keeps room for a short name.
//   POSIX:   a name of at most NAME_MAX bytes of UTF-8 (the folder's file
//            system says how many), a whole path below PATH_MAX.
PathFit FirstPathTooLong(const AnsiString& folder, const std::vector<PathBelow>& paths);

}  // namespace kx
