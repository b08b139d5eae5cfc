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

std::size_t Utf8UnitAt(std::string_view text, std::size_t pos, char16_t* unit) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(text[i])); };
    const unsigned lead = byte(pos);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : 0;
    if (length == 0 || pos + length > text.size()) return 0;
    unsigned value = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        value = value << 6 | (byte(pos + i) & 0x3F);
    }
    if (length == 3 && value < 0x800) return 0;
    *unit = static_cast<char16_t>(value);
    return length;
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

std::size_t TrimmedSystemErrorLength(const char* text, std::size_t length) {
    if (text == nullptr) return 0;
    const void* zero = std::memchr(text, 0, length);
    if (zero) length = static_cast<std::size_t>(static_cast<const char*>(zero) - text);
    // From the end, by bytes: every byte trimmed is below 0x40, so never the
    // second byte of a GBK character, and never part of a UTF-8 sequence.
    while (length > 0) {
        const auto last = static_cast<unsigned char>(text[length - 1]);
        if (last >= 0x21 && last != '.') break;
        --length;
    }
    return length;
}

AnsiString TrimSystemErrorText(const char* text, std::size_t length) {
    return AnsiString(text, TrimmedSystemErrorLength(text, length));
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
