#include "KxName.h"

#include "CodePage.h"
#include "AsciiText.h"
#include "Gbk.h"

#include <vector>

namespace kx {

bool IsKxNameStart(char32_t codePoint) {
    const char32_t c = codePoint;
    if (c < 0x80) return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    const bool symbol = c < 0xC0 || (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
                        (c >= 0xFF00 && c <= 0xFFEF) || c == 0xFEFF;
    return !symbol;
}

bool IsKxNamePart(char32_t codePoint) {
    return IsKxNameStart(codePoint) || (codePoint >= '0' && codePoint <= '9');
}

namespace {

// The character of a one- or two-byte GBK sequence; 0 for one that code page
// 936 leaves undefined (0 is no name character).
char32_t CharacterOf(const AnsiString& sequence) {
    const auto first = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) return first < 0x80 ? first : 0;  // 0x80 and 0xFF stand alone
    if (!IsGbkTrailByte(static_cast<unsigned char>(sequence[1]))) return 0;
    const WideString units = DecodeAnsi(sequence, AnsiPage::System);
    if (units.size() != 1 || units[0] == 0xFFFD) return 0;
    return units[0];
}

}  // namespace

bool IsKxKeyword(const AnsiString& identifier) {
    // UTF-8 here for reading, converted once.
    static const char* const kKeywordsUtf8[] = {
        "function", "end",    "var",   "return", "if",     "elseif",      "else",   "while", "break",
        "continue", "select", "case",  "default", "true",  "false",       "and",    "or",    "not",
        u8"功能",   u8"结束", u8"变量", u8"返回", u8"如果", u8"否则如果", u8"否则", u8"循环", u8"跳出",
        u8"继续",   u8"选择", u8"条件", u8"默认", u8"真",   u8"假",
    };
    static const std::vector<AnsiString> keywords = [] {
        std::vector<AnsiString> converted;
        for (const char* keyword : kKeywordsUtf8) converted.push_back(AnsiFromUtf8(keyword));
        return converted;
    }();
    for (const AnsiString& keyword : keywords) {
        if (EqualsIgnoringAsciiCase(keyword, identifier)) return true;
    }
    return false;
}

AnsiString KxIdentifierFrom(const AnsiString& name) {
    AnsiString identifier;
    identifier.reserve(name.size() + 1);
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t length = GbkCharLength(name, pos);
        const AnsiString sequence = name.substr(pos, length);
        const char32_t c = CharacterOf(sequence);
        if (pos == 0 && IsKxNamePart(c) && !IsKxNameStart(c)) identifier += '_';
        identifier += IsKxNamePart(c) ? sequence : AnsiString("_");
        pos += length;
    }
    return identifier;
}

}  // namespace kx
