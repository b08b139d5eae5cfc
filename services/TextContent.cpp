#include "TextContent.h"

#include <cstring>

#include "PathRules.h"

namespace kx {

void AppendUtf8CodePoint(std::string& out, unsigned long cp) {
    if (cp < 0x10000) {
        AppendUtf8Unit(out, static_cast<char16_t>(cp));
        return;
    }
    const char bytes[] = {static_cast<char>(0xF0 | (cp >> 18)), static_cast<char>(0x80 | ((cp >> 12) & 0x3F)),
                          static_cast<char>(0x80 | ((cp >> 6) & 0x3F)), static_cast<char>(0x80 | (cp & 0x3F))};
    out.append(bytes, sizeof bytes);
}

// A unit is below 0x10000: one, two or three bytes, as SaveUtf8File's steps say.
void AppendUtf8Unit(std::string& out, char16_t unit) {
    char bytes[3];
    out.append(bytes, static_cast<std::size_t>(PutUtf8Unit(bytes, unit) - bytes));
}

void AppendUtf8Units(std::string& out, std::u16string_view units) {
    std::size_t size = 0;
    for (const char16_t unit : units) size += Utf8UnitSize(unit);
    const std::size_t start = out.size();
    out.resize(start + size);
    char* at = &out[start];
    for (const char16_t unit : units) at = PutUtf8Unit(at, unit);
}

std::string Utf16FileContent(std::u16string_view units, bool withBom) {
    std::string content;
    content.resize((withBom ? 2 : 0) + units.size() * 2);
    std::size_t at = 0;
    if (withBom) {
        content[at++] = '\xFF';
        content[at++] = '\xFE';
    }
    for (const char16_t unit : units) {
        content[at++] = static_cast<char>(unit & 0xFF);
        content[at++] = static_cast<char>(unit >> 8);
    }
    return content;
}

WideString UpToFirstZeroUnit(const WideString& units) {
    const std::size_t zero = units.find(u'\0');
    return zero == WideString::npos ? units : units.substr(0, zero);
}

std::string Utf8FromUnits(const WideString& units) {
    std::string out;
    out.reserve(units.size() * 3);
    for (std::size_t i = 0; i < units.size(); ++i) {
        unsigned long cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8CodePoint(out, cp);
    }
    return out;
}

AnsiString TrimSystemErrorText(const char* text, std::size_t length) {
    if (text == nullptr) return AnsiString();
    const void* zero = std::memchr(text, 0, length);
    if (zero) length = static_cast<std::size_t>(static_cast<const char*>(zero) - text);
    while (length > 0) {
        const auto last = static_cast<unsigned char>(text[length - 1]);
        if (last >= 0x21 && last != '.') break;
        --length;
    }
    return AnsiString(text, length);
}

AnsiString PathForCreateMessage(const AnsiString& passedPath, const char* fullPathBuffer,
                                std::size_t bufferSize, unsigned long returned) {
    if (fullPathBuffer == nullptr || returned == 0 || returned >= bufferSize || !IsIntactAnsiPath(passedPath)) {
        return passedPath;
    }
    const std::size_t limit = static_cast<std::size_t>(returned);
    const void* zero = std::memchr(fullPathBuffer, 0, limit);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - fullPathBuffer) : limit;
    return AnsiString(fullPathBuffer, length);
}

}  // namespace kx
