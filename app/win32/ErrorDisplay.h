// The error display: an error that a handler raised and did not catch is
// shown in a stop box captioned with the application title, and the program
// goes on.
#pragma once

#include "KxTypes.h"

namespace kx::win {

void ShowErrorBox(const AnsiString& message);
void ReportUncaughtError(const AnsiString& message);

// For catch (...) blocks at the edges of window procedures and message loops:
// reports the error in flight. Never throws.
void ReportCurrentError() noexcept;

}  // namespace kx::win
