#include "ProjectName.h"

#include <cstdio>

#include "Gbk.h"
#include "PathSplit.h"

namespace kx {

AnsiString DefaultProjectName(const LocalDate& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "wpx%04d_%02d_%02d", date.year, date.month, date.day);
    return buffer;
}

AnsiString TrimName(const AnsiString& text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) < 33; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

AnsiString FinalPathComponent(const AnsiString& name) { return SplitAtLastSeparator(name, "\\:").name; }

NameVerdict CheckProjectName(const AnsiString& trimmed) {
    if (trimmed.empty()) return NameVerdict::Empty;
    if (FinalPathComponent(trimmed) != trimmed) return NameVerdict::Malformed;
    // '/' and '.' are never the second byte of a GBK character, so plain byte
    // tests are exact here.
    if (trimmed.find('/') != AnsiString::npos) return NameVerdict::Malformed;
    if (trimmed.back() == '.') return NameVerdict::Malformed;  // covers ".", ".." and "..."
    // A lead byte at the end would take the backslash joined after the name as
    // its second byte, and the paths built from it would name a sibling.
    const std::size_t last = GbkLastCharStart(trimmed);
    if (last + 1 == trimmed.size() && IsGbkLeadByte(static_cast<unsigned char>(trimmed[last]))) {
        return NameVerdict::Malformed;
    }
    // The file calls take C strings: a zero byte would cut every path short.
    if (trimmed.find('\0') != AnsiString::npos) return NameVerdict::Malformed;
    return NameVerdict::Usable;
}

}  // namespace kx
