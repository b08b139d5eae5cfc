// How long the names and paths of a new project may be where it is written,
// so that a generation can refuse a name before it writes the first file
// rather than fail at the fifth.
#pragma once

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

// Checks folder + separator + relative against the limits of the file
// system below folder, an existing folder: every component of relative
// (separated by kPathSeparator) as a name, and the whole as a path.
//   Windows: a name of at most 255 UTF-16 units; a whole path below MAX_PATH
//            (259 units), or for a folder below MAX_PATH - 12 (247 units),
//            as CreateDirectoryA keeps room for a short name.
//   POSIX:   a name of at most NAME_MAX bytes of UTF-8 (the folder's file
//            system says how many), a whole path below PATH_MAX.
PathFit CheckPathFits(const AnsiString& folder, const AnsiString& relative, bool isFolder);

}  // namespace kx
