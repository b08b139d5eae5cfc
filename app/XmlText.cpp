#include "XmlText.h"

#include "Gbk.h"

namespace kx {

AnsiString EscapeXmlText(const AnsiString& text) {
    AnsiString escaped;
    escaped.reserve(text.size());
    for (const GbkChar c : GbkChars(text)) {
        switch (c.IsSingleByte() ? c.bytes[0] : '\0') {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&apos;"; break;
            default: escaped += c.bytes;
        }
    }
    return escaped;
}

}  // namespace kx
