// The platform's message box, owned by the application window and modal to
// the whole application.
#pragma once

#include "KxTypes.h"

namespace kx::win {

// The box's result unchanged (IDOK, IDCANCEL, ...), 0 when no box could be shown.
int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags);

}  // namespace kx::win
