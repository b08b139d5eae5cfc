// Paths as the operating system below the ANSI calls spells them. The program
// keeps ANSI (GBK) paths; front ends and tools that talk to the POSIX file
// system directly (a terminal's current folder, xdg-open) need the same
// conversion the services make at their boundary.
#pragma once

#include <string>

#include "KxTypes.h"

namespace kx {

// The ANSI path as the file system sees it: split on backslashes and slashes
// that are characters of their own (the 5C of a double-byte character is not
// one), each component converted from CP936 to UTF-8, joined with '/'.
// "/tmp/x\\KX项目" (GBK bytes) becomes "/tmp/x/KX项目" (UTF-8 bytes).
std::string NativePath(const AnsiString& path);

}  // namespace kx
