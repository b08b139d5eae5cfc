// Windows tests: how many items the Recycle Bin of a path's drive holds, to
// tell what a run put there.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "KxTypes.h"

namespace kx::test {

// -1 when the drive has no bin the shell can count.
inline long long ItemsInBin(const AnsiString& path) {
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    return SUCCEEDED(SHQueryRecycleBinA(path.substr(0, 3).c_str(), &bin)) ? bin.i64NumItems : -1;
}

}  // namespace kx::test
