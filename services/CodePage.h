// Code-page conversions at the edges of the program. Pure functions over bytes.
#pragma once

#include <string_view>

#include "KxTypes.h"

namespace kx {

enum class AnsiPage {
    System,  // the system ANSI code page (CP_ACP)
    Thread,  // the calling thread's ANSI code page (CP_THREAD_ACP)
};

// The code page cannot be converted at all (on POSIX: iconv lacks a
// converter for CP936). Never thrown for bad input: invalid sequences become
// the platform's replacement character instead.
class ConversionError : public KxError {
public:
    explicit ConversionError(const AnsiString& what) : KxError("Cannot convert code page 936 text: " + what) {}
};

// Throws ConversionError unless both directions between code page 936 and
// Unicode work here. A generation asks before it changes anything, so that
// a converter that cannot start stops it at once rather than half way.
void EnsureCodePage();

// Decodes the whole byte string, zero bytes included. Invalid sequences become
// the platform's replacement; throws ConversionError when no conversion is
// possible at all.
WideString DecodeAnsi(const AnsiString& text, AnsiPage page);

// Appends to out what the UTF-8 writer makes of text: decoded as DecodeAnsi
// decodes it (zero bytes included), each UTF-16 unit then encoded by itself
// (AppendUtf8Unit, TextContent.h). Throws ConversionError as DecodeAnsi does.
void AppendUtf8OfUnits(std::string& out, std::string_view text, AnsiPage page);

// Appends the code page 936 form of utf8 (well-formed UTF-8) to out and
// returns true when every character has one that reads back as the very same
// character; otherwise returns false and leaves out as it was. Throws
// ConversionError as DecodeAnsi does.
bool AppendAnsiOfUtf8(AnsiString& out, std::string_view utf8);

// For terminals, command lines and the POSIX file system, which speak UTF-8.
// Both throw ConversionError as DecodeAnsi does; a character code page 936
// lacks becomes '?'.
std::string Utf8FromAnsi(const AnsiString& text);
AnsiString AnsiFromUtf8(const std::string& text);

}  // namespace kx
