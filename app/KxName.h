// What a KX name (of a function, variable or window control) may hold, and
// the name that stands for a project name where KX wants one.
#pragma once

#include "KxTypes.h"

namespace kx {

// The first character of a name: an ASCII letter or "_", or any character from
// U+00C0 up except punctuation and symbols (U+2000-U+2BFF, U+3000-U+303F,
// U+FF00-U+FFEF) and the byte-order mark U+FEFF. So Chinese, kana, Greek and
// Cyrillic letters are name characters, while a full-width comma or bracket,
// "。" or "、" is not.
bool IsKxNameStart(char32_t codePoint);

// Any later character: a first character or an ASCII digit.
bool IsKxNamePart(char32_t codePoint);

// True for a word of the script language (function, end, if, ... and their
// Chinese spellings 功能, 结束, 如果 ...); ASCII letters in any case.
bool IsKxKeyword(const AnsiString& identifier);

// The project name (GBK bytes) made into a KX name, character by character:
// a character that cannot stand in a name becomes one "_" (a double-byte
// character too, never half of it), and a name that would start with a digit
// gets a "_" in front. A name that already is a KX name comes back unchanged:
// "a&b" -> "a_b", "自动打怪 v2" -> "自动打怪_v2", "2048" -> "_2048".
// Double-byte characters are judged by the Unicode character code page 936
// makes of them; a byte pair it does not define is not a name character.
AnsiString KxIdentifierFrom(const AnsiString& name);

}  // namespace kx
