// The byte-level rules of the text file writers: what goes into the
// content buffer, how UTF-8 is read back, and how the file-creation message
// is put together.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "KxTypes.h"

namespace kx {

// The bytes of one UTF-16 code unit the way SaveUtf8File encodes it: each
// unit by itself (below 0x80 one byte, below 0x800 two, else three; a
// surrogate unit is encoded as three bytes of its own).
inline std::size_t Utf8UnitSize(char16_t unit) { return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3; }

// Writes those bytes at at and returns where they end.
inline char* PutUtf8Unit(char* at, char16_t unit) {
    if (unit < 0x80) {
        *at++ = static_cast<char>(unit);
    } else if (unit < 0x800) {
        *at++ = static_cast<char>(0xC0 | (unit >> 6));
        *at++ = static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        *at++ = static_cast<char>(0xE0 | (unit >> 12));
        *at++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        *at++ = static_cast<char>(0x80 | (unit & 0x3F));
    }
    return at;
}

// Appends those bytes to out.
void AppendUtf8Unit(std::string& out, char16_t unit);

// Reads back one unit that PutUtf8Unit wrote at text[pos] (a surrogate unit
// of its own too): its length, with the unit in *unit; 0 where the bytes
// are none of those forms.
std::size_t Utf8UnitAt(std::string_view text, std::size_t pos, char16_t* unit);

// Appends the standard UTF-8 of one code point below 0x110000 (a surrogate
// too, as three bytes of its own).
void AppendUtf8CodePoint(std::string& out, unsigned long cp);

// The well-formed UTF-8 sequence at text[pos]: its length, with its code
// point in *cp; 0 where the bytes are none (overlong forms, surrogates and
// values past U+10FFFF are none).
inline std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos, char32_t* cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        *cp = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        value = value << 6 | (byte(pos + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *cp = value;
    return length;
}

// Appends every unit (zero units included) as AppendUtf8Unit does, the
// output grown once.
void AppendUtf8Units(std::string& out, std::u16string_view units);

// The UTF-16LE file content: FF FE when withBom, then each unit low byte first.
std::string Utf16FileContent(std::u16string_view units, bool withBom);

// The units before the first zero unit.
WideString UpToFirstZeroUnit(const WideString& units);

// Standard UTF-8 of UTF-16 text (surrogate pairs joined, lone ones as U+FFFD),
// for terminals and the POSIX file system.
std::string Utf8FromUnits(const WideString& units);

// The operating system's error text without its trailing bytes below 0x21
// and trailing full stops, in any mix ("Access is denied. \r\n" -> "Access is denied").
// Looks at no more than length bytes and stops at a zero byte. The length
// left, for text in any of the program's encodings; the GBK text itself.
std::size_t TrimmedSystemErrorLength(const char* text, std::size_t length);
AnsiString TrimSystemErrorText(const char* text, std::size_t length);

// The path the file-creation message shows: the full path the platform wrote
// into a buffer of bufferSize bytes when it fitted (0 < returned < bufferSize),
// else the path exactly as passed; also as passed when it is not intact
// (PathRules.h), as the platform made the full path of another one then.
// Never reads beyond the buffer.
AnsiString PathForCreateMessage(const AnsiString& passedPath, const char* fullPathBuffer,
                                std::size_t bufferSize, unsigned long returned);

constexpr std::size_t kFullPathBufferSize = 260;     // MAX_PATH
constexpr std::size_t kSystemMessageBufferSize = 256;

}  // namespace kx
