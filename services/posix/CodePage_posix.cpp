// Code page 936 through iconv. The platform has no system or thread ANSI code
// page, so both are CP936, the code page of every text of this program.
#include "CodePage.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "ByteWords.h"
#include "CodePageSeam.h"
#include "Gbk.h"
#include "TextContent.h"

namespace kx {

namespace seams {
iconv_t (*OpenIconv)(const char* to, const char* from) = &iconv_open;
}  // namespace seams

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One iconv descriptor per direction and thread, opened on first use and kept
// until the thread ends: opening one loads the code-page modules, which costs
// more than converting a whole file, and paths are converted one part at a time.
//
// Each also remembers what it made of every character it was asked about, by
// key: templates repeat a few hundred characters thousands of times, in runs
// of a few characters between ASCII, and iconv's cost is in each call rather
// than each character. Code page 936 is stateless, so a character converts the
// same wherever it stands; what is remembered goes with the descriptor.
class Converter {
public:
    static constexpr std::size_t kKeys = 0x10000;

    Converter(const char* to, const char* from) : to_(to), from_(from) { Open(); }
    ~Converter() { Close(); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() {
        // Opened again when a test has swapped the way converters are opened.
        if (opener_ != seams::OpenIconv) {
            Close();
            Open();
        }
        return cd_ != reinterpret_cast<iconv_t>(-1);
    }

    // Back to the initial shift state, whatever the last conversion ended in.
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as it can onto the end of out: returns false at an
    // invalid or incomplete sequence (in left at its start) and true when all
    // input is consumed.
    template <typename Text>
    bool Step(const char*& in, std::size_t& inLeft, Text& out) {
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            char* inPtr = const_cast<char*>(in);
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            in = inPtr;
            out.append(buffer, sizeof buffer - outLeft);
            if (rc == static_cast<std::size_t>(-1) && error != E2BIG) return false;
        }
        return true;
    }

    // One character's bytes, converted into at most size bytes at out: how
    // many it wrote, or nothing when iconv refuses any of its bytes.
    std::optional<std::size_t> Whole(std::string_view bytes, char* out, std::size_t size) {
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        char* outPtr = out;
        std::size_t outLeft = size;
        if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            Reset();  // the next character starts afresh, whatever this one left behind
            return std::nullopt;
        }
        return size - outLeft;
    }

    // What it made of each character, by key: count entries of type Entry,
    // 0 where it was not asked yet. One converter serves one kind of entry.
    template <typename Entry>
    Entry* Memory(std::size_t count) {
        // calloc: pages of zeros the system hands out as they are touched.
        if (!memory_) memory_.reset(std::calloc(count, sizeof(Entry)));
        if (!memory_) throw std::bad_alloc();
        return static_cast<Entry*>(memory_.get());
    }

private:
    void Open() {
        opener_ = seams::OpenIconv;
        cd_ = opener_(to_, from_);
        memory_.reset();
    }
    void Close() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
        cd_ = reinterpret_cast<iconv_t>(-1);
    }

    struct Free {
        void operator()(void* p) const { std::free(p); }
    };

    const char* to_;
    const char* from_;
    iconv_t (*opener_)(const char*, const char*) = nullptr;
    iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
    std::unique_ptr<void, Free> memory_;
};

// ConversionError where iconv lacks the converter.
Converter& Ready(Converter& converter, const char* what) {
    if (!converter.ok()) throw ConversionError(what);
    return converter;
}

// Code points as wchar_t: iconv's own inner form, reached in one step, where
// UCS-4LE takes two and UTF-16 would load one more module.
static_assert(sizeof(wchar_t) == 4, "wchar_t holds a code point");
Converter& ToCodePoints() {
    thread_local Converter converter("WCHAR_T", "CP936");
    return Ready(converter, "no converter from CP936");
}

Converter& ToAnsi() {
    thread_local Converter converter("CP936", "UTF-8");
    return Ready(converter, "no converter to CP936");
}

// Where the run of ASCII bytes that starts at pos ends. Templates are
// mostly ASCII: eight bytes at a time.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos) {
    while (pos + 8 <= text.size() && (words::WordAt(text.data() + pos) & words::kHighBits) == 0) pos += 8;
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    return pos;
}

// How many bytes of text are 0x80 or more.
std::size_t HighBytes(std::string_view text) {
    std::size_t count = 0;
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        count += words::CountMarked(words::WordAt(text.data() + pos) & words::kHighBits);
    }
    for (; pos < text.size(); ++pos) count += static_cast<unsigned char>(text[pos]) >= 0x80;
    return count;
}

constexpr char32_t kRefused = 0xFFFFFFFF;

// Code page 936 to code points, a character at a time.
class CharacterDecoder {
public:
    CharacterDecoder() : converter_(ToCodePoints()), memory_(converter_.Memory<std::uint16_t>(kKeys)) {}

    // The code point of one character (a byte from 0x80 up, or a lead byte
    // with the byte after it); kRefused for one iconv refuses.
    char32_t operator()(AnsiView bytes) {
        const std::size_t key = KeyOf(bytes);
        const std::uint16_t remembered = memory_[key];
        if (remembered != 0) return remembered == kRefusedEntry ? kRefused : remembered;
        return Learn(bytes, key);
    }

private:
    // A key for each byte from 0x80 up (in the first row), and for each lead
    // byte with each byte after it (a row of 256 a lead byte): 64 kilobytes,
    // whose few pages in use stay in the cache.
    static constexpr std::size_t kKeys = (0xFF - 0x80) << 8;
    static constexpr std::uint16_t kRefusedEntry = 0xFFFF;

    static std::size_t KeyOf(AnsiView bytes) {
        const auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(bytes[i])); };
        return bytes.size() == 1 ? byte(0) : (byte(0) - 0x80) << 8 | byte(1);
    }

    // Asks iconv, and keeps the answer where it has a key.
    char32_t Learn(AnsiView bytes, std::size_t key) {
        const char32_t code = Ask(bytes);
        if (code == kRefused) {
            memory_[key] = kRefusedEntry;
        } else if (code != 0 && code < kRefusedEntry) {
            memory_[key] = static_cast<std::uint16_t>(code);
        }  // else none that code page 936 has: not kept
        return code;
    }

    char32_t Ask(AnsiView bytes) {
        wchar_t code[2];
        const auto size = converter_.Whole(BytesOf(bytes), reinterpret_cast<char*>(code), sizeof code);
        if (size != sizeof code[0]) return kRefused;
        return static_cast<char32_t>(code[0]);
    }

    Converter& converter_;
    std::uint16_t* memory_;
};

// Decodes GBK text: ASCII runs as they are, any other character as iconv
// reads it, and for one iconv refuses (an invalid pair, a lead byte at the
// end) one replacement character for its first byte, then on from the very
// next byte, so that an ASCII byte after a stray lead byte survives. ascii
// takes each ASCII run, character each other code point.
template <typename Ascii, typename Character>
void DecodeGbk(AnsiView text, Ascii ascii, Character character) {
    std::optional<CharacterDecoder> decode;  // only once there is more than ASCII
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(BytesOf(text), pos);
        if (asciiEnd > pos) ascii(BytesOf(text.substr(pos, asciiEnd - pos)));
        pos = asciiEnd;
        if (pos < text.size() && !decode) decode.emplace();
        while (pos < text.size() && static_cast<unsigned char>(text[pos]) >= 0x80) {
            const std::size_t length = GbkCharLength(text, pos);
            const char32_t code = (*decode)(text.substr(pos, length));
            character(code == kRefused ? kReplacement : code);
            pos += code == kRefused ? 1 : length;
        }
    }
}

// The UTF-16 units of a code point.
template <typename Unit>
void ForEachUnit(char32_t code, Unit unit) {
    if (code < 0x10000) {
        unit(static_cast<char16_t>(code));
    } else {
        unit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        unit(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
}

constexpr std::uint32_t kNoAnsiForm = 0xFFFFFFFF;

// Characters given as UTF-8 to code page 936.
class CharacterEncoder {
public:
    CharacterEncoder() : converter_(ToAnsi()), memory_(converter_.Memory<std::uint32_t>(Converter::kKeys)) {}

    // The code page 936 bytes of code (whose UTF-8 is utf8) when it has some
    // that read back as that very character: their count in the top byte,
    // the bytes below it; kNoAnsiForm otherwise.
    std::uint32_t operator()(std::string_view utf8, char32_t code) {
        if (code >= Converter::kKeys) return Ask(utf8, code);  // rare enough to ask each time
        std::uint32_t& remembered = memory_[code];
        if (remembered == 0) remembered = Ask(utf8, code);
        return remembered;
    }

private:
    std::uint32_t Ask(std::string_view utf8, char32_t code) {
        char bytes[4];
        const std::optional<std::size_t> size = converter_.Whole(utf8, bytes, sizeof bytes);
        if (!size || *size == 0) return kNoAnsiForm;
        const AnsiView ansi(bytes, *size);
        if (GbkCharLength(ansi, 0) != ansi.size() || CharacterDecoder()(ansi) != code) return kNoAnsiForm;
        const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(ansi[i])); };
        return ansi.size() == 1 ? 1u << 24 | byte(0) : 2u << 24 | byte(0) << 8 | byte(1);
    }

    Converter& converter_;
    std::uint32_t* memory_;
};

// Length of the UTF-8 sequence that starts with lead (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead, const char* next, std::size_t left) {
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    std::size_t valid = 1;
    while (valid < length && valid < left && (static_cast<unsigned char>(next[valid]) & 0xC0) == 0x80) ++valid;
    return valid;
}

}  // namespace

WideString DecodeAnsi(const AnsiString& text, AnsiPage /*page: both are CP936 here*/) {
    WideString result;
    result.reserve(text.size());
    DecodeGbk(
        text,
        [&](std::string_view run) {
            const std::size_t start = result.size();
            result.resize(start + run.size());
            std::copy(run.begin(), run.end(), &result[start]);
        },
        [&](char32_t code) { ForEachUnit(code, [&](char16_t unit) { result += unit; }); });
    return result;
}

void AppendUtf8OfUnits(std::string& out, AnsiView text, AnsiPage /*page: both are CP936 here*/) {
    // Sized once: ASCII stays as it is, and a character of two bytes from
    // 0x80 up takes three at most, which is the half more of its bytes. (A
    // second byte below 0x80 or a byte alone takes more: the rare text full
    // of them makes the buffer grow.)
    out.reserve(out.size() + text.size() + HighBytes(BytesOf(text)) / 2);
    // Through a small buffer, a kilobyte at a time; long ASCII runs straight in.
    char buffer[1024];
    std::size_t used = 0;
    const auto flush = [&] {
        out.append(buffer, used);
        used = 0;
    };
    DecodeGbk(
        text,
        [&](std::string_view run) {
            if (used + run.size() > sizeof buffer) flush();
            if (run.size() > sizeof buffer) {
                out.append(run.data(), run.size());
            } else {
                std::memcpy(buffer + used, run.data(), run.size());
                used += run.size();
            }
        },
        [&](char32_t code) {
            if (used + 6 > sizeof buffer) flush();  // two units of three bytes at most
            ForEachUnit(code, [&](char16_t unit) {
                used = static_cast<std::size_t>(PutUtf8Unit(buffer + used, unit) - buffer);
            });
        });
    flush();
}

bool AppendAnsiOfUtf8(AnsiString& out, std::string_view utf8) {
    const std::size_t start = out.size();
    // Code page 936 never takes more bytes than UTF-8 for a character.
    out.resize(start + utf8.size());
    char* at = &out[start];
    std::optional<CharacterEncoder> encode;  // only once there is more than ASCII
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(utf8, pos);
        std::memcpy(at, utf8.data() + pos, asciiEnd - pos);
        at += asciiEnd - pos;
        pos = asciiEnd;
        if (pos < utf8.size() && !encode) encode.emplace();
        while (pos < utf8.size() && static_cast<unsigned char>(utf8[pos]) >= 0x80) {
            char32_t code = 0;
            const std::size_t length = Utf8SequenceAt(utf8, pos, &code);
            const std::uint32_t ansi = length ? (*encode)(utf8.substr(pos, length), code) : kNoAnsiForm;
            if (ansi == kNoAnsiForm) {
                out.resize(start);
                return false;
            }
            if (ansi >> 24 == 2) *at++ = static_cast<char>(ansi >> 8);
            *at++ = static_cast<char>(ansi);
            pos += length;
        }
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
    return true;
}

void EnsureCodePage() {
    ToCodePoints();
    ToAnsi();
}

std::string Utf8FromAnsi(const AnsiString& text) {
    // Code page 936 has characters of the Basic Multilingual Plane only: the
    // writer's UTF-8, unit by unit, is the standard one.
    std::string result;
    AppendUtf8OfUnits(result, text, AnsiPage::System);
    return result;
}

AnsiString AnsiFromUtf8(std::string_view text) {
    AnsiString result;
    if (AsciiRunEnd(text, 0) == text.size()) return AsGbk(text);
    Converter* converter = &ToAnsi();
    converter->Reset();
    const char* in = text.data();
    std::size_t left = text.size();
    while (!converter->Step(in, left, result)) {
        // A character CP936 lacks, or bytes that are no UTF-8: '?', as
        // WideCharToMultiByte's default character.
        result += '?';
        converter->Reset();
        const std::size_t skip = Utf8SequenceLength(static_cast<unsigned char>(*in), in, left);
        in += skip;
        left -= skip;
    }
    return result;
}

}  // namespace kx
