#include "ShownText.h"

#include "CodePage.h"

namespace kx::cli {

namespace {

void AppendEscape(std::string& out, const char* prefix, unsigned value) {
    static const char kHex[] = "0123456789ABCDEF";
    out += prefix;
    out += kHex[(value >> 4) & 0xF];
    out += kHex[value & 0xF];
}

}  // namespace

std::string Shown(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscape(out, "\\x", byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80) {
            AppendEscape(out, "\\u00", static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::string ShownAnsi(const std::string& ansi) { return Shown(Utf8FromAnsi(ansi)); }

}  // namespace kx::cli
