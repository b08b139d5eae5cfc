// Code-page conversions at the edges of the program. Pure functions over bytes.
#pragma once

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

// For terminals, command lines and the POSIX file system, which speak UTF-8.
// Both throw ConversionError as DecodeAnsi does; a character code page 936
// lacks becomes '?'.
std::string Utf8FromAnsi(const AnsiString& text);
AnsiString AnsiFromUtf8(const std::string& text);

}  // namespace kx
