// The system calls whose failure no test can bring about for real: closing a
// file after writing it (a failed close can mean data that never reached the
// disk) and making a GUID. The services make them through here.
//
// Both are defined alone in SystemCalls_win32.cpp, so that a test program can
// link its own definitions in their place: the linker takes a member of a
// static library only for a symbol that nothing before it has defined. The
// product links the library's, which are the system's calls and nothing else.
#pragma once

#include <windows.h>

namespace kx::os {

BOOL CloseHandle(HANDLE handle);
HRESULT CoCreateGuid(GUID* guid);

}  // namespace kx::os
