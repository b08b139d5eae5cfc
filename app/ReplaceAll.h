// Replacing every occurrence of a pattern in GBK text. SubstituteProjectName
// finds the placeholder in templates by the same rule.
#pragma once

#include "KxTypes.h"

namespace kx {

// Every occurrence of pattern replaced, left to right, case-sensitive. An
// occurrence starts on a GBK character boundary; the replacement is never
// searched again; nothing at or after the first NUL byte of text is searched.
// Runs in time linear in the text and pattern lengths.
AnsiString ReplaceAll(const AnsiString& text, const AnsiString& pattern, const AnsiString& replacement);

}  // namespace kx
