// The system's text for an error code, for messages.
#pragma once

#include <windows.h>

#include "KxTypes.h"

namespace kx {

// FormatMessageA's text for a GetLastError code or an HRESULT, in the ANSI
// code page, trimmed as the POSIX side trims strerror's (TrimSystemErrorText);
// empty when the system has none or it does not fit kSystemMessageBufferSize.
AnsiString SystemErrorText(DWORD error);

}  // namespace kx
