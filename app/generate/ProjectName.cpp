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
    // By characters; a blank is a character of its own (below 0x40, never
    // the second byte of one).
    std::size_t first = AnsiString::npos;
    std::size_t end = 0;
    for (const GbkChar c : GbkChars(text)) {
        if (c.IsSingleByte() && c.Byte() < 33) continue;
        if (first == AnsiString::npos) first = c.offset;
        end = c.End();
    }
    return first == AnsiString::npos ? AnsiString() : text.substr(first, end - first);
}

AnsiString FinalPathComponent(const AnsiString& name) { return SplitAtLastSeparator(name, "\\:").name; }

NameVerdict CheckProjectName(const AnsiString& trimmed) {
    if (trimmed.empty()) return NameVerdict::Empty;
    if (FinalPathComponent(trimmed) != trimmed) return NameVerdict::Malformed;
    GbkChar last{0, {}};
    for (const GbkChar c : GbkChars(trimmed)) {
        // A slash separates too; the file calls take C strings, so a zero
        // byte would cut every path short.
        if (c.Is('/') || c.Is('\0')) return NameVerdict::Malformed;
        last = c;
    }
    // A name ending in "." covers ".", ".." and "...". A lead byte at the end
    // would take the separator joined after the name as its second byte, and
    // the paths built from it would name a sibling.
    if (last.Is('.') || (last.IsSingleByte() && IsGbkLeadByte(last.Byte()))) return NameVerdict::Malformed;
    return NameVerdict::Usable;
}

}  // namespace kx
