// Code-page conversions at the edges of the program. Pure functions over bytes.
#pragma once

#include "KxTypes.h"

namespace kx {

enum class AnsiPage {
    System,  // the system ANSI code page (CP_ACP)
    Thread,  // the calling thread's ANSI code page (CP_THREAD_ACP)
};

// Decodes the whole byte string, zero bytes included. Invalid sequences become
// the platform's replacement; never throws.
WideString DecodeAnsi(const AnsiString& text, AnsiPage page);

// For terminals, command lines and the POSIX file system, which speak UTF-8.
std::string Utf8FromAnsi(const AnsiString& text);
AnsiString AnsiFromUtf8(const std::string& text);

}  // namespace kx
