#include "KxName.h"

#include "CodePage.h"
#include "Gbk.h"

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
