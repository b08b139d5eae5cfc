// What every part of the program needs of ASCII inside other text: the one
// hexadecimal digit table and the one comparison that ignores letter case.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "Gbk.h"

namespace kx {

inline constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

// A byte as text shows one it cannot hold: "\xFF".
inline std::string ByteEscape(unsigned char byte) {
    return {'\\', 'x', kUpperHexDigits[byte >> 4], kUpperHexDigits[byte & 0xF]};
}

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal but for the letter case of ASCII letters. GBK text is walked by
// character: the second byte of a double-byte character may be an ASCII
// letter's byte (81 41 and 81 61 are two characters) and is compared
// exactly. In UTF-8 every byte beyond ASCII is 0x80 or above, so byte by
// byte is right there.
template <typename Traits>
bool EqualsIgnoringAsciiCase(std::basic_string_view<char, Traits> a, std::basic_string_view<char, Traits> b) {
    if (a.size() != b.size()) return false;
    if constexpr (std::is_same_v<Traits, GbkTraits>) {
        GbkChars::Iterator ib = GbkChars(b).begin();
        for (const GbkChar ca : GbkChars(a)) {
            const GbkChar cb = *ib;
            ++ib;
            if (ca.offset != cb.offset || ca.bytes.size() != cb.bytes.size()) return false;
            if (ca.IsSingleByte() ? UpperAscii(ca.bytes[0]) != UpperAscii(cb.bytes[0]) : ca.bytes != cb.bytes) {
                return false;
            }
        }
        return true;
    } else {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
        }
        return true;
    }
}

inline bool EqualsIgnoringAsciiCase(AnsiView a, AnsiView b) { return EqualsIgnoringAsciiCase<GbkTraits>(a, b); }
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return EqualsIgnoringAsciiCase<std::char_traits<char>>(a, b);
}

}  // namespace kx
