// The byte-level rules of the text file writers: what goes into the
// content buffer, and how the file-creation message is put together.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "KxTypes.h"

namespace kx {

// Appends one UTF-16 code unit the way SaveUtf8File encodes it: each unit by
// itself (below 0x80 one byte, below 0x800 two, else three; a surrogate unit
// is encoded as three bytes of its own).
void AppendUtf8Unit(std::string& out, char16_t unit);

// Appends the standard UTF-8 of one code point below 0x110000 (a surrogate
// too, as three bytes of its own).
void AppendUtf8CodePoint(std::string& out, unsigned long cp);

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
// Looks at no more than length bytes and stops at a zero byte.
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
