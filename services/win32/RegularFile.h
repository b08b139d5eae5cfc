// Creating or truncating a file on Windows without following a reparse point
// and without ever opening anything but a regular disk file.
#pragma once

#include <windows.h>

#include "UnitFunction.h"
#include "Win32Handles.h"

namespace kx {

// As CreateFileA with CREATE_ALWAYS and FILE_ATTRIBUTE_NORMAL: creates path,
// or opens the existing file and truncates it to length 0. A symbolic link,
// junction or other reparse point, a folder or a device (CON, a pipe) in the
// way is opened as itself and refused, never written. On failure returns an
// invalid handle with the last error set (ERROR_ACCESS_DENIED for a refused
// entry).
FileHandle CreateRegularFileAlways(const AnsiString& path, DWORD access, DWORD share);

}  // namespace kx
