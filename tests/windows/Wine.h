// Windows tests: whether they run under Wine, for the few cases where Wine
// does what Windows does not.
#pragma once

#include <windows.h>

namespace kx::test {

inline bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace kx::test
