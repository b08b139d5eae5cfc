// The CP936 converters against iconv, one character at a time: a character is
// the first of "this byte" or "this byte and the next" that iconv decodes to
// one unit; a byte that starts neither is one U+FFFD, and decoding goes on
// with the byte after it. Invalid and cut-off sequences are what this is for.
#include <iconv.h>

#include <cstring>
#include <memory>

#include "CodePage.h"
#include "FuzzSupport.h"
#include "UnitFunction.h"

namespace {

using kx::AnsiString;
using kx::WideString;

class Cp936Characters {
public:
    Cp936Characters() : cd_(iconv_open("UTF-16LE", "CP936")) {
        KX_FUZZ_CHECK(cd_ != reinterpret_cast<iconv_t>(-1));
    }
    ~Cp936Characters() { iconv_close(cd_); }
    Cp936Characters(const Cp936Characters&) = delete;
    Cp936Characters& operator=(const Cp936Characters&) = delete;

    // The unit for exactly these bytes as one character, if they are one.
    bool Decode(const char* bytes, std::size_t length, char16_t& unit) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char in[2];
        std::memcpy(in, bytes, length);
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = length;
        std::size_t outLeft = sizeof out;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
        if (inLeft != 0 || sizeof out - outLeft != 2) return false;
        unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
        return true;
    }

private:
    iconv_t cd_;
};

WideString ReferenceDecode(const AnsiString& text) {
    static Cp936Characters characters;
    WideString units;
    for (std::size_t i = 0; i < text.size();) {
        char16_t unit = 0;
        if (characters.Decode(text.data() + i, 1, unit)) {
            i += 1;
        } else if (i + 1 < text.size() && characters.Decode(text.data() + i, 2, unit)) {
            i += 2;
        } else {
            unit = 0xFFFD;
            i += 1;
        }
        units += unit;
    }
    return units;
}

// Standard UTF-8; CP936 decodes to the Basic Multilingual Plane only, and a
// surrogate unit (which it never yields) would be U+FFFD.
std::string ReferenceUtf8(const WideString& units) {
    std::string out;
    for (char16_t u : units) {
        unsigned c = u;
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AnsiString text(reinterpret_cast<const char*>(data), size);
    const WideString expected = ReferenceDecode(text);

    KX_FUZZ_CHECK(kx::DecodeAnsi(text, kx::AnsiPage::System) == expected);
    KX_FUZZ_CHECK(kx::DecodeAnsi(text, kx::AnsiPage::Thread) == expected);
    // At most one unit per byte: the n + 1 unit buffer of the writer always ends in zero.
    KX_FUZZ_CHECK(expected.size() <= text.size());
    KX_FUZZ_CHECK(kx::AnsiToWideText(text) == expected.substr(0, expected.find(u'\0')));
    KX_FUZZ_CHECK(kx::Utf8FromAnsi(text) == ReferenceUtf8(expected));

    // The way back takes any bytes as UTF-8; ASCII passes unchanged and
    // nothing else may crash it.
    const AnsiString back = kx::AnsiFromUtf8(text);
    bool ascii = true;
    for (unsigned char c : text) ascii = ascii && c < 0x80;
    if (ascii) KX_FUZZ_CHECK(back == text);
    return 0;
}
