// Folder queries the generate workflow needs, on ANSI paths.
#pragma once

#include "KxTypes.h"

namespace kx {

// True when path names an existing directory (attributes read, directory bit set).
bool DirectoryExists(const AnsiString& path);

// Creates exactly one level, no security attributes; false when the path exists
// in any form, its parent is missing or the name is not a valid Windows name.
bool CreateFolder(const AnsiString& path);

}  // namespace kx
