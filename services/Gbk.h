// Character boundaries in code page 936 (GBK): a byte from 0x81 to 0xFE starts
// a two-byte character whose second byte may be any value from 0x40 up,
// a backslash (0x5C) among them.
#pragma once

#include <cstddef>
#include <string>

namespace kx {

inline bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// The second bytes code page 936 defines after a lead byte. Windows reads a
// lead byte with any other second byte as one invalid character ('?').
inline bool IsGbkTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// Length in bytes of the character that starts at text[pos]. A lead byte at the
// very end, or before a zero byte, counts as a character of its own.
inline std::size_t GbkCharLength(const std::string& text, std::size_t pos) {
    if (IsGbkLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
        text[pos + 1] != '\0') {
        return 2;
    }
    return 1;
}

// Byte offset where the last character of text starts; npos for an empty text.
inline std::size_t GbkLastCharStart(const std::string& text) {
    std::size_t last = std::string::npos;
    for (std::size_t pos = 0; pos < text.size(); pos += GbkCharLength(text, pos)) last = pos;
    return last;
}

}  // namespace kx
