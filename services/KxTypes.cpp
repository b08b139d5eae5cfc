#include "KxTypes.h"

#include "AsciiText.h"
#include "CodePage.h"
#include "Gbk.h"

namespace kx {

namespace {

// The message for what(): ASCII as it is (so that an error about the
// converter itself never needs the converter), the rest converted where the
// converter works, else each byte of a character beyond ASCII as \xNN.
std::string Utf8ForWhat(const AnsiString& message) noexcept {
    try {
        bool ascii = true;
        for (const GbkChar c : GbkChars(message)) ascii = ascii && c.IsSingleByte() && c.Byte() < 0x80;
        if (ascii) return std::string(BytesOf(message));
        try {
            return Utf8FromAnsi(message);
        } catch (const ConversionError&) {
        }
        std::string shown;
        for (const GbkChar c : GbkChars(message)) {
            if (c.IsSingleByte() && c.Byte() < 0x80) {
                shown += static_cast<char>(c.Byte());
                continue;
            }
            for (const char byte : BytesOf(c.bytes)) shown += ByteEscape(static_cast<unsigned char>(byte));
        }
        return shown;
    } catch (...) {
        return std::string();  // out of memory: an empty text rather than none
    }
}

}  // namespace

KxError::KxError(AnsiString message) : message_(std::move(message)), utf8_(Utf8ForWhat(message_)) {}

}  // namespace kx
