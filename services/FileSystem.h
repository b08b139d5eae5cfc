// Folder queries the generate workflow needs, on ANSI paths.
#pragma once

#include "KxTypes.h"

namespace kx {

// True when path names an existing directory (attributes read, directory bit set).
bool DirectoryExists(const AnsiString& path);

// Creates exactly one level, no security attributes; false when the path exists
// in any form, its parent is missing or the name is not a valid Windows name.
bool CreateFolder(const AnsiString& path);

// Creates path and every missing folder above it, as "mkdir -p" does: for a
// place the user names (kxgen's --root), not for a project's own folders, so
// on POSIX a name Windows could not hold is made as given. True when path
// is a folder afterwards; otherwise systemError (when given) gets the
// system's error number (errno, GetLastError) for the level that failed.
bool CreateFolderPath(const AnsiString& path, int* systemError = nullptr);

// The system's error number of the last file-system call that failed on this
// thread: errno on POSIX, GetLastError() on Windows. Read it right after a
// call above returned false.
int LastSystemError();

// True when path itself is a symbolic link or (on Windows) any reparse point,
// a junction included, whatever it points to and whether or not that exists.
// Such a path is never entered, emptied or written through.
bool IsLinkOrJunction(const AnsiString& path);

// What is at path, the last component looked at as itself (a link is not
// followed).
enum class EntryType {
    Missing,
    File,    // a regular file
    Folder,
    Link,    // a symbolic link, or on Windows any reparse point (a junction too)
    Other,   // a device, a FIFO, a socket; or a path that is not intact
};
EntryType EntryTypeOf(const AnsiString& path);

// Marks a folder hidden where the system has such a mark (Windows:
// FILE_ATTRIBUTE_HIDDEN, kept with its other attributes); elsewhere a name
// starting with "." hides it and this does nothing. False when the mark
// cannot be set.
bool HideFolder(const AnsiString& path);

}  // namespace kx
