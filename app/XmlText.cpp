#include "XmlText.h"

namespace kx {

AnsiString EscapeXmlText(const AnsiString& text) {
    // All five are below 0x40, the smallest second byte of code page 936, so
    // a byte-wise scan never mistakes half of a Chinese character for one.
    AnsiString escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&apos;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

}  // namespace kx
