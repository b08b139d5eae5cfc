// Linux: asks the desktop to open a file through xdg-open, as the Windows
// shell is asked there: once, without waiting, its output discarded.
#pragma once

#include "KxTypes.h"

namespace kx {

// 0 once xdg-open started; else why not (an errno value).
int StartXdgOpen(const AnsiString& file);

}  // namespace kx
