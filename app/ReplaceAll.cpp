#include "ReplaceAll.h"

#include <cstring>
#include <vector>

#include "Gbk.h"

namespace kx {

namespace {

// Knuth-Morris-Pratt failure function: the scan never steps back, so the
// search stays linear even for patterns such as "aaaab".
std::vector<std::size_t> BorderTable(const AnsiString& pattern) {
    std::vector<std::size_t> border(pattern.size(), 0);
    std::size_t k = 0;
    for (std::size_t i = 1; i < pattern.size(); ++i) {
        while (k > 0 && pattern[i] != pattern[k]) k = border[k - 1];
        if (pattern[i] == pattern[k]) ++k;
        border[i] = k;
    }
    return border;
}

}  // namespace

AnsiString ReplaceAll(const AnsiString& text, const AnsiString& pattern, const AnsiString& replacement) {
    const std::size_t searchable = text.find('\0');  // npos: the whole text
    const std::size_t end = searchable == AnsiString::npos ? text.size() : searchable;
    if (pattern.empty() || pattern.find('\0') != AnsiString::npos || pattern.size() > end) {
        return text;
    }

    const std::vector<std::size_t> border = BorderTable(pattern);
    AnsiString result;
    result.reserve(text.size());

    std::size_t copied = 0;        // text before this is already in result
    std::size_t nextBoundary = 0;  // a character boundary at or after the last one checked
    std::size_t matched = 0;       // pattern bytes matched so far
    for (std::size_t i = 0; i < end; ++i) {
        if (matched == 0) {
            // Skip to the next possible start with memchr, which is far faster
            // than stepping the automaton over bytes that cannot begin a match.
            const void* next = std::memchr(text.data() + i, pattern[0], end - i);
            if (next == nullptr) break;
            i = static_cast<std::size_t>(static_cast<const char*>(next) - text.data());
        }
        while (matched > 0 && text[i] != pattern[matched]) matched = border[matched - 1];
        if (text[i] == pattern[matched]) ++matched;
        if (matched < pattern.size()) continue;

        const std::size_t start = i + 1 - pattern.size();
        // Character by character up to the match (no zero byte before end).
        while (nextBoundary < start) nextBoundary += GbkCharLength(AnsiView(text).substr(0, end), nextBoundary);
        if (nextBoundary != start) {
            // Began on the second byte of a double-byte character: not an occurrence.
            matched = border[matched - 1];
            continue;
        }
        result.append(text, copied, start - copied);
        result += replacement;
        copied = i + 1;
        nextBoundary = copied;  // the search starts afresh behind the occurrence
        matched = 0;
    }
    result.append(text, copied, std::string::npos);
    return result;
}

}  // namespace kx
