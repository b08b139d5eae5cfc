// The CP936 converters, held to two references.
//
// iconv, one character at a time: a character is the first of "this byte" or
// "this byte and the next" that iconv decodes to one unit; a byte that starts
// neither is one U+FFFD, and decoding goes on with the byte after it.
//
// And, independent of any converter: the input cut into characters by the
// code page's own rule (a byte from 0x81 to 0xFE and a second byte from 0x40
// to 0xFE but 0x7F); ASCII decodes to itself; every pair that decodes to a
// character decodes to exactly one unit and comes back from it as the same
// two bytes; a text of such characters decodes to the units of its
// characters in order; and a few characters whose code points are known by
// heart decode to them. Invalid and cut-off sequences are what this is for.
#include <iconv.h>

#include <cstdio>
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

bool OpensPair(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool ClosesPair(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Characters whose code points do not come from any converter.
void CheckKnownCharacters() {
    static const struct {
        const char* bytes;
        char16_t unit;
    } known[] = {
        {"\xD6\xD0", u'\u4E2D'},  // 中
        {"\xCE\xC4", u'\u6587'},  // 文
        {"\xCF\xEE", u'\u9879'},  // 项
        {"\xC4\xBF", u'\u76EE'},  // 目
        {"\x81\x5C", u'\u4E57'},  // 乗, its second byte a backslash
        {"\xA1\xA2", u'\u3001'},  // 、
        {"\xA3\xAC", u'\uFF0C'},  // ，
        {"\x80", u'\u20AC'},       // €
        {"A", u'A'},
    };
    for (const auto& k : known) {
        KX_FUZZ_CHECK(kx::DecodeAnsi(k.bytes, kx::AnsiPage::System) == WideString(1, k.unit));
        KX_FUZZ_CHECK(kx::AnsiFromUtf8(ReferenceUtf8(WideString(1, k.unit))) == k.bytes);
    }
    // Every pair the code page holds comes back as itself; they all are
    // distinct characters, and more than twenty thousand of them.
    std::size_t held = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const AnsiString pair{static_cast<char>(lead), static_cast<char>(trail)};
            const WideString unit = kx::DecodeAnsi(pair, kx::AnsiPage::System);
            KX_FUZZ_CHECK(!unit.empty());
            if (unit.size() != 1 || unit[0] == 0xFFFD) {
                KX_FUZZ_CHECK(unit[0] == 0xFFFD);  // a pair it does not hold: the lead byte is invalid
                continue;
            }
            ++held;
            if (kx::AnsiFromUtf8(ReferenceUtf8(unit)) != pair) {
                std::fprintf(stderr, "%02X %02X -> U+%04X does not come back\n", lead, trail, unsigned(unit[0]));
            }
            KX_FUZZ_CHECK(kx::AnsiFromUtf8(ReferenceUtf8(unit)) == pair);
        }
    }
    KX_FUZZ_CHECK(held > 20000);
}

// The converter-independent properties, character by character.
void CheckOwnRule(const AnsiString& text, const WideString& whole) {
    WideString joined;
    bool allDefined = true;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            KX_FUZZ_CHECK(kx::DecodeAnsi(text.substr(i, 1), kx::AnsiPage::System) == WideString(1, b));
            joined += static_cast<char16_t>(b);
            i += 1;
            continue;
        }
        if (OpensPair(b) && i + 1 < text.size() && ClosesPair(static_cast<unsigned char>(text[i + 1]))) {
            const AnsiString pair = text.substr(i, 2);
            const WideString unit = kx::DecodeAnsi(pair, kx::AnsiPage::System);
            KX_FUZZ_CHECK(!unit.empty());
            KX_FUZZ_CHECK(unit.size() == 1 || unit[0] == 0xFFFD);
            if (unit.size() == 1 && unit[0] != 0xFFFD) {
                // A character the code page holds: back to the same two bytes.
                KX_FUZZ_CHECK(unit[0] >= 0x80);
                KX_FUZZ_CHECK(kx::AnsiFromUtf8(ReferenceUtf8(unit)) == pair);
                joined += unit[0];
            } else {
                allDefined = false;
            }
            i += 2;
            continue;
        }
        allDefined = false;
        i += 1;
    }
    if (allDefined) KX_FUZZ_CHECK(whole == joined);
    // At most one unit per byte: the n + 1 unit buffer of the writer always ends in zero.
    KX_FUZZ_CHECK(whole.size() <= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool knownChecked = (CheckKnownCharacters(), true);
    static_cast<void>(knownChecked);
    const AnsiString text(reinterpret_cast<const char*>(data), size);
    const WideString expected = ReferenceDecode(text);
    CheckOwnRule(text, kx::DecodeAnsi(text, kx::AnsiPage::System));

    KX_FUZZ_CHECK(kx::DecodeAnsi(text, kx::AnsiPage::System) == expected);
    KX_FUZZ_CHECK(kx::DecodeAnsi(text, kx::AnsiPage::Thread) == expected);
    KX_FUZZ_CHECK(kx::AnsiToWideText(text) == expected.substr(0, expected.find(u'\0')));
    KX_FUZZ_CHECK(kx::Utf8FromAnsi(text) == ReferenceUtf8(expected));

    // The way back takes any bytes as UTF-8; ASCII passes unchanged and
    // nothing else may crash it.
    const AnsiString back = kx::AnsiFromUtf8(kx::BytesOf(text));
    bool ascii = true;
    for (const char c : kx::BytesOf(text)) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) KX_FUZZ_CHECK(back == text);
    return 0;
}
