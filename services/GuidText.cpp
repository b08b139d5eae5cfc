#include "GuidText.h"

#include "AsciiText.h"

namespace kx {

namespace {

void AppendHex(AnsiString& out, std::uint32_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kUpperHexDigits[(value >> shift) & 0xF];
}

}  // namespace

GuidFields GuidFromBytes(const unsigned char (&bytes)[16]) {
    GuidFields guid{};
    guid.data1 = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                 static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    guid.data2 = static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8);
    guid.data3 = static_cast<std::uint16_t>(bytes[6] | bytes[7] << 8);
    for (int i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
    return guid;
}

GuidFields RandomGuid(const unsigned char (&randomBytes)[16]) {
    GuidFields guid = GuidFromBytes(randomBytes);
    guid.data3 = static_cast<std::uint16_t>((guid.data3 & 0x0FFF) | 0x4000);
    guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);
    return guid;
}

AnsiString FormatGuidText(const GuidFields& guid) {
    AnsiString text;
    text.reserve(38);
    text += '{';
    AppendHex(text, guid.data1, 8);
    text += '-';
    AppendHex(text, guid.data2, 4);
    text += '-';
    AppendHex(text, guid.data3, 4);
    text += '-';
    AppendHex(text, guid.data4[0], 2);
    AppendHex(text, guid.data4[1], 2);
    text += '-';
    for (int i = 2; i < 8; ++i) AppendHex(text, guid.data4[i], 2);
    text += '}';
    return text;
}

}  // namespace kx
