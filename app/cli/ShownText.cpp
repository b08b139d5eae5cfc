#include "ShownText.h"

#include <cstdio>

#include "CodePage.h"

namespace kx::cli {

std::string CharacterEscape(char32_t cp) {
    char escape[16];
    std::snprintf(escape, sizeof escape, cp > 0xFFFF ? "\\U%08X" : "\\u%04X", static_cast<unsigned>(cp));
    return escape;
}

std::string Shown(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            out += ByteEscape(byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80) {
            out += CharacterEscape(static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::string ShownAnsi(const AnsiString& ansi) { return Shown(Utf8FromAnsi(ansi)); }

}  // namespace kx::cli
