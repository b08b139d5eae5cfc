#include "PathRules.h"

#include <cstring>

#include "Gbk.h"
#include "PathSplit.h"

namespace kx {

namespace {

bool IsSeparatorByte(char c) { return c == '\\' || c == '/'; }

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(const AnsiString& a, const char* b) {
    const std::size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

bool IsReservedDeviceName(const AnsiString& name) {
    // The part before the first dot, without trailing spaces, is what Windows
    // compares ("CON .txt" and "con.txt" both name the console).
    AnsiString stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
        if (EqualsIgnoringAsciiCase(stem, device)) return true;
    }
    if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
        const AnsiString prefix = stem.substr(0, 3);
        if (EqualsIgnoringAsciiCase(prefix, "COM") || EqualsIgnoringAsciiCase(prefix, "LPT")) return true;
    }
    return false;
}

}  // namespace

bool EndsWithBackslashChar(const AnsiString& text) {
    const std::size_t last = GbkLastCharStart(text);
    return last != std::string::npos && last == text.size() - 1 && text[last] == '\\';
}

AnsiString LastPathComponent(const AnsiString& path) {
    // Trailing separators end no component: "a\\b\\" names b.
    AnsiString rest = path;
    for (;;) {
        SplitPath split = SplitAtLastSeparator(rest, kPathSeparators);
        if (!split.name.empty() || split.folder.empty()) return split.name;
        rest = std::move(split.folder);
        rest.pop_back();
    }
}

WindowsNameRule BrokenWindowsNameRule(const AnsiString& name) {
    if (name.empty() || name == "." || name == "..") return WindowsNameRule::Empty;
    std::size_t lastStart = 0;
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t len = GbkCharLength(name, pos);
        const auto c = static_cast<unsigned char>(name[pos]);
        if (len == 1) {
            if (c < 0x20 || std::strchr("<>:\"/\\|?*", static_cast<char>(c)) != nullptr) {
                return WindowsNameRule::ForbiddenCharacter;
            }
            if (IsGbkLeadByte(c)) return WindowsNameRule::UndefinedCharacter;  // without its second byte
        } else if (!IsGbkTrailByte(static_cast<unsigned char>(name[pos + 1]))) {
            return WindowsNameRule::UndefinedCharacter;
        }
        lastStart = pos;
        pos += len;
    }
    const char last = name[lastStart];
    if (lastStart == name.size() - 1 && (last == '.' || last == ' ')) return WindowsNameRule::TrailingDotOrSpace;
    return IsReservedDeviceName(name) ? WindowsNameRule::ReservedDevice : WindowsNameRule::None;
}

bool IsIntactAnsiPath(const AnsiString& path) {
    if (path.find('\0') != AnsiString::npos) return false;
    const std::size_t last = GbkLastCharStart(path);
    const bool endsInLeadByte =
        last != std::string::npos && last + 1 == path.size() && IsGbkLeadByte(static_cast<unsigned char>(path[last]));
    return !endsInLeadByte;
}

bool IsAbsoluteWindowsPath(const AnsiString& path) {
    if (path.size() >= 3 && UpperAscii(path[0]) >= 'A' && UpperAscii(path[0]) <= 'Z' && path[1] == ':' &&
        IsSeparatorByte(path[2])) {
        return true;
    }
    return path.size() >= 3 && IsSeparatorByte(path[0]) && IsSeparatorByte(path[1]) && !IsSeparatorByte(path[2]);
}

}  // namespace kx
