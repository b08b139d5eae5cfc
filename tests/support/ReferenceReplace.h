// The placeholder replacement written the slow, obvious way: cut the text
// after every occurrence and search the rest again. Tests and the fuzzer hold
// the fast one to it.
#pragma once

#include <string>

namespace kx::test {

// Its own reading of code page 936, not the program's: bytes 0x81 to 0xFE
// open a two-byte character, unless nothing or a zero byte follows (then the
// byte stands alone).
inline std::size_t ReferenceCharLength(const std::string& text, std::size_t pos) {
    const unsigned value = static_cast<unsigned char>(text[pos]);
    const bool opensPair = value > 0x80 && value < 0xFF;
    return opensPair && pos + 1 < text.size() && text[pos + 1] != '\0' ? 2 : 1;
}

inline std::size_t FindOnBoundary(const std::string& search, const std::string& pattern) {
    const std::size_t end = search.find('\0') == std::string::npos ? search.size() : search.find('\0');
    for (std::size_t pos = 0; pos < end; pos += ReferenceCharLength(search, pos)) {
        if (pos + pattern.size() <= end && search.compare(pos, pattern.size(), pattern) == 0) return pos;
    }
    return std::string::npos;
}

inline std::string ReferenceReplaceAll(const std::string& text, const std::string& pattern,
                                       const std::string& replacement) {
    if (pattern.empty() || pattern.find('\0') != std::string::npos) return text;
    std::string result;
    std::string rest = text;
    while (!rest.empty()) {
        const std::size_t p = FindOnBoundary(rest, pattern);
        if (p == std::string::npos) {
            result += rest;
            break;
        }
        result += rest.substr(0, p) + replacement;
        rest.erase(0, p + pattern.size());
    }
    return result;
}

}  // namespace kx::test
