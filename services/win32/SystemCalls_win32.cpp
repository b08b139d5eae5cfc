// The library's side of SystemCalls.h; nothing else may live in this file
// (a test program that links its own versions would then get both).
#include <windows.h>
#include <objbase.h>

#include "SystemCalls.h"

namespace kx::os {

BOOL CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

HRESULT CoCreateGuid(GUID* guid) { return ::CoCreateGuid(guid); }

}  // namespace kx::os
