#include "TextContent.h"

#include <cstring>

#include "PathRules.h"

namespace kx {

void AppendUtf8CodePoint(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A unit is below 0x10000: one, two or three bytes, as SaveUtf8File's steps say.
void AppendUtf8Unit(std::string& out, char16_t unit) { AppendUtf8CodePoint(out, unit); }

std::string Utf8FileContent(const WideString& units, bool withBom) {
    std::string content;
    content.reserve((withBom ? 3 : 0) + units.size() * 3);
    if (withBom) content += "\xEF\xBB\xBF";
    for (char16_t unit : units) AppendUtf8Unit(content, unit);
    return content;
}

std::string Utf16FileContent(const WideString& units, bool withBom) {
    std::string content;
    content.reserve((withBom ? 2 : 0) + units.size() * 2);
    if (withBom) content += "\xFF\xFE";
    for (char16_t unit : units) {
        content += static_cast<char>(unit & 0xFF);
        content += static_cast<char>((unit >> 8) & 0xFF);
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
