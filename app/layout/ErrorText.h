// The texts of the error display: the box text and the application title.
#pragma once

#include "KxTypes.h"

namespace kx::layout {

// The error's message with "." appended when its last character (by GBK
// character boundaries) compares greater than ".": letters, digits, ":" and
// every double-byte character gain it; ".", blanks, control characters and
// "!" to "-" do not. An empty message stays empty.
AnsiString ErrorBoxText(const AnsiString& message);

// The module file name after its last backslash, cut before its first ".",
// both found by GBK character boundaries so a trail byte 0x5C is no separator.
AnsiString ModuleBaseName(const AnsiString& moduleFileName);

}  // namespace kx::layout
