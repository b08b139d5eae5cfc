// Splitting an ANSI (GBK) path at its last separator. Only a separator that is
// a character of its own counts: in code page 936 the second byte of a
// double-byte character may be 0x5C, a backslash (乗 is 81 5C). Header-only,
// like Gbk.h, so that the pure layout code can use it too.
#pragma once

#include <string>
#include <string_view>

#include "Gbk.h"

namespace kx {

// The separator the program joins paths with: a backslash for the Windows
// ANSI calls; a slash on POSIX, where a backslash is a character of a name
// like any other (a folder "dir\\x" is one folder).
// kPathSeparators: every character that separates components there (the
// ANSI calls take a slash as well).
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr char kPathSeparators[] = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr char kPathSeparators[] = "/";
#endif

struct SplitPath {
    std::string folder;  // up to and with the last separator; empty without one
    std::string name;    // everything after it
};

// Splits path after the last character that is one of separators: "C:\\a\\b.exe"
// gives "C:\\a\\" and "b.exe"; with separators "\\:", "C:b.exe" gives "C:" and "b.exe".
inline SplitPath SplitAtLastSeparator(const std::string& path, std::string_view separators = "\\") {
    std::size_t nameStart = 0;
    for (std::size_t pos = 0; pos < path.size(); pos += GbkCharLength(path, pos)) {
        // A lead byte is never a separator: only characters of their own match.
        if (separators.find(path[pos]) != std::string_view::npos) nameStart = pos + 1;
    }
    return {path.substr(0, nameStart), path.substr(nameStart)};
}

}  // namespace kx
