// Paths as the operating system below the ANSI calls spells them. The program
// keeps ANSI (GBK) paths; front ends and tools that talk to the POSIX file
// system directly (a terminal's current folder, xdg-open) need the same
// conversion the services make at their boundary.
#pragma once

#include <string>

#include "KxTypes.h"

namespace kx {

// The ANSI path as the file system sees it: each component between slashes
// converted from CP936 to UTF-8. A backslash is an ordinary character on
// POSIX: "/tmp/x/KX项目" (GBK bytes) becomes "/tmp/x/KX项目" (UTF-8 bytes),
// "/tmp/a\\b" stays one component. Throws ConversionError when the code
// page cannot be converted at all.
std::string NativePath(const AnsiString& path);

}  // namespace kx
