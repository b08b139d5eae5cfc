// How the Windows clean-up judges one entry of a folder from what the system
// said of it. Pure functions, so that kinds a test machine cannot stage
// (Wine makes neither junctions nor mounted folders) are tested all the same.
#pragma once

#include <windows.h>

#include "FolderCleanup.h"

namespace kx {

enum class EntryKind {
    File,    // moved as it is
    Folder,  // moved with everything inside, which is looked at as well
    // A reparse point that is no mount: a symbolic link (to a folder too) or
    // a tag of its own. Moved as itself, like a link on POSIX, never entered.
    Link,
    // A junction or a mounted volume (IO_REPARSE_TAG_MOUNT_POINT): moving it
    // would carry another folder's or volume's files into the bin.
    OtherMount,
};

// From FindFirstFileA's data: dwReserved0 holds the reparse tag, and only for
// an entry with FILE_ATTRIBUTE_REPARSE_POINT.
EntryKind KindOfEntry(const WIN32_FIND_DATAA& found);

// Why an entry cannot be moved, from the error of opening it for DELETE with
// no sharing.
MoveBlock BlockOfOpenError(DWORD error);

}  // namespace kx
