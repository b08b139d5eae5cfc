// What every part of the program needs of ASCII inside other text: the one
// hexadecimal digit table and the one comparison that ignores letter case.
#pragma once

#include <string_view>

#include "Gbk.h"

namespace kx {

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Equal but for the letter case of ASCII letters. Walks GBK characters: the
// second byte of a double-byte character may be an ASCII letter's byte (81 41
// and 81 61 are two characters) and is compared exactly. Also right for
// UTF-8, whose bytes beyond ASCII are all 0x80 and above.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    GbkChars::Iterator ia = GbkChars(a).begin();
    GbkChars::Iterator ib = GbkChars(b).begin();
    for (const GbkChars::Iterator end = GbkChars(a).end(); ia != end; ++ia, ++ib) {
        const GbkChar ca = *ia;
        const GbkChar cb = *ib;
        if (ca.offset != cb.offset || ca.bytes.size() != cb.bytes.size()) return false;
        if (ca.IsSingleByte() ? UpperAscii(ca.bytes[0]) != UpperAscii(cb.bytes[0]) : ca.bytes != cb.bytes) {
            return false;
        }
    }
    return ib == GbkChars(b).end();
}

}  // namespace kx
