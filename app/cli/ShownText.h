// Text from outside the program (a typed name, a folder's name) as it may
// safely reach a terminal: control characters become visible escapes, so an
// arrow key's escape sequence or a newline in a name cannot move the cursor.
#pragma once

#include <string>

#include "AsciiText.h"
#include "KxTypes.h"

namespace kx::cli {

// UTF-8 in, UTF-8 out: C0 controls and DEL as \xNN, C1 controls as \u00NN.
std::string Shown(const std::string& utf8);

// An ANSI (GBK) text shown as above, in UTF-8.
std::string ShownAnsi(const AnsiString& ansi);

// "\uXXXX", or "\UXXXXXXXX" beyond U+FFFF: a character shown by its number.
std::string CharacterEscape(char32_t cp);

}  // namespace kx::cli
