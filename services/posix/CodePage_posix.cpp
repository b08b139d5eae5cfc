// Code page 936 through iconv. The platform has no system or thread ANSI code
// page, so both are CP936, the code page of every text of this program.
#include "CodePage.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "CodePageSeam.h"
#include "Gbk.h"
#include "TextContent.h"

namespace kx {

namespace seams {
iconv_t (*OpenIconv)(const char* to, const char* from) = &iconv_open;
}  // namespace seams

namespace {

constexpr char16_t kReplacementUnit = 0xFFFD;

// One iconv descriptor per direction and thread, opened on first use and kept
// until the thread ends: opening one loads the code-page modules, which costs
// more than converting a whole file, and paths are converted one part at a time.
class Converter {
public:
    // A step asks for a little more room than its bytes promise, so that a
    // conversion that outgrows the promise still moves on.
    static constexpr std::size_t kSlack = 8;

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

    // Converts as much as it can straight onto the end of out, which is
    // given roomPerByte bytes for each byte left to read (more only should
    // iconv ask for it): returns false at an invalid or incomplete sequence
    // (in left at its start) and true when all input is consumed.
    bool Step(const char*& in, std::size_t& inLeft, std::string& out, std::size_t roomPerByte) {
        std::size_t used = out.size();
        bool whole = true;
        while (inLeft > 0) {
            out.resize(used + inLeft * roomPerByte + kSlack);
            char* outPtr = &out[used];
            std::size_t outLeft = out.size() - used;
            char* inPtr = const_cast<char*>(in);
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            in = inPtr;
            used = static_cast<std::size_t>(outPtr - out.data());
            if (rc == static_cast<std::size_t>(-1) && error != E2BIG) {
                whole = false;
                break;
            }
        }
        out.resize(used);
        return whole;
    }

private:
    void Open() {
        opener_ = seams::OpenIconv;
        cd_ = opener_(to_, from_);
    }
    void Close() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
        cd_ = reinterpret_cast<iconv_t>(-1);
    }

    const char* to_;
    const char* from_;
    iconv_t (*opener_)(const char*, const char*) = nullptr;
    iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

// The converter reset for a new text; ConversionError where iconv lacks it.
Converter& Ready(Converter& converter, const char* what) {
    if (!converter.ok()) throw ConversionError(what);
    converter.Reset();
    return converter;
}

// Code points, four bytes each: iconv has that form built in, where UTF-16
// would load one more module.
Converter& ToCodePoints() {
    thread_local Converter converter("UCS-4LE", "CP936");
    return Ready(converter, "no converter from CP936");
}

Converter& ToUtf8() {
    thread_local Converter converter("UTF-8", "CP936");
    return Ready(converter, "no converter from CP936");
}

Converter& ToAnsi() {
    thread_local Converter converter("CP936", "UTF-8");
    return Ready(converter, "no converter to CP936");
}

// Where the run of ASCII bytes that starts at pos ends: eight bytes at a
// time, as templates are mostly ASCII.
std::size_t AsciiRunEnd(std::string_view text, std::size_t pos) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    for (std::uint64_t word = 0; pos + sizeof word <= text.size(); pos += sizeof word) {
        std::memcpy(&word, text.data() + pos, sizeof word);
        if (word & kHighBits) break;
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) ++pos;
    return pos;
}

// A conversion step takes at most this many bytes: it bounds the room a step
// asks for beyond what the text needs, and the decoders' scratch space.
constexpr std::size_t kMaxStepBytes = 4096;

// Where the run of whole non-ASCII characters that starts at pos ends, after
// at most about kMaxStepBytes: a lead byte keeps the byte after it, whatever
// that is, so that a run never ends inside a character.
std::size_t OtherRunEnd(std::string_view text, std::size_t pos) {
    std::size_t end = pos;
    for (const GbkChar c : GbkChars(text, pos)) {
        if (c.Byte() < 0x80 || end - pos >= kMaxStepBytes) break;
        end = c.End();
    }
    return end;
}

// Decodes GBK text into a sink: ASCII runs as they are, the runs between them
// through iconv, and for an invalid or incomplete sequence one replacement
// character for its first byte, then on from the very next byte (so that an
// ASCII byte after a stray lead byte survives). The sink has Ascii(view),
// Convert(converter, in, left) -> whole, and Replacement().
template <typename Sink>
void DecodeGbk(std::string_view text, Converter& (*open)(), Sink& sink) {
    Converter* converter = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(text, pos);
        if (asciiEnd > pos) {
            sink.Ascii(text.substr(pos, asciiEnd - pos));
            pos = asciiEnd;
            continue;
        }
        const std::size_t end = OtherRunEnd(text, pos);
        if (!converter) converter = &open();
        const char* in = text.data() + pos;
        std::size_t left = end - pos;
        const bool whole = sink.Convert(*converter, in, left);
        pos = static_cast<std::size_t>(in - text.data());
        if (!whole) {
            sink.Replacement();
            ++pos;
            converter->Reset();
        }
    }
}

// UTF-16 units, through code points: iconv has UCS-4 built in.
struct UnitSink {
    WideString& out;
    std::string codePoints;  // one step's worth

    void Ascii(std::string_view run) {
        const std::size_t start = out.size();
        out.resize(start + run.size());
        std::copy(run.begin(), run.end(), &out[start]);
    }
    bool Convert(Converter& converter, const char*& in, std::size_t& left) {
        codePoints.clear();
        const bool whole = converter.Step(in, left, codePoints, 4);
        for (std::size_t i = 0; i + 3 < codePoints.size(); i += 4) {
            const auto byte = [&](std::size_t k) {
                return static_cast<char32_t>(static_cast<unsigned char>(codePoints[i + k]));
            };
            const char32_t code = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
            if (code < 0x10000) {
                out += static_cast<char16_t>(code);
            } else {
                out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
                out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
            }
        }
        return whole;
    }
    void Replacement() { out += kReplacementUnit; }
};

// UTF-8 straight from iconv into the output. Code page 936 holds characters
// of the Basic Multilingual Plane only, so the UTF-8 of each character is
// the UTF-8 of its one UTF-16 unit: what the writer encodes unit by unit.
struct Utf8Sink {
    std::string& out;

    void Ascii(std::string_view run) { out.append(run.data(), run.size()); }
    bool Convert(Converter& converter, const char*& in, std::size_t& left) {
        return converter.Step(in, left, out, 3);  // a byte alone or a pair: at most three bytes
    }
    void Replacement() { out += "\xEF\xBF\xBD"; }  // U+FFFD
};

// The UTF-8 size of text when its sequences are valid, at most: ASCII stays
// as it is, and any other character, a pair or a byte alone, takes three bytes
// at most. The output is sized once with it.
std::size_t Utf8SizeOfGbk(std::string_view text) {
    std::size_t size = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(text, pos);
        size += asciiEnd - pos;
        pos = asciiEnd;
        for (const GbkChar c : GbkChars(text, pos)) {
            if (c.Byte() < 0x80) break;
            size += 3;
            pos = c.End();
        }
    }
    return size;
}

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
    UnitSink sink{result, {}};
    DecodeGbk(text, ToCodePoints, sink);
    return result;
}

void AppendUtf8OfUnits(std::string& out, std::string_view text, AnsiPage /*page: both are CP936 here*/) {
    // Room for the last step's promise too, so that valid text never moves.
    out.reserve(out.size() + Utf8SizeOfGbk(text) + 3 * kMaxStepBytes + Converter::kSlack);
    Utf8Sink sink{out};
    DecodeGbk(text, ToUtf8, sink);
}

bool AppendAnsiOfUtf8(AnsiString& out, std::string_view utf8) {
    const std::size_t start = out.size();
    Converter* converter = nullptr;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t asciiEnd = AsciiRunEnd(utf8, pos);
        out.append(utf8.data() + pos, asciiEnd - pos);
        // Up to the next ASCII byte, which never lies inside a UTF-8 sequence.
        std::size_t end = asciiEnd;
        for (; end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x80; ++end) {
            // Four bytes: beyond the Basic Multilingual Plane, where code page
            // 936 has no character (iconv drops U+E0000 to U+E007F unsaid).
            if (static_cast<unsigned char>(utf8[end]) >= 0xF0) {
                out.resize(start);
                return false;
            }
        }
        if (end > asciiEnd) {
            if (!converter) converter = &ToAnsi();
            const char* in = utf8.data() + asciiEnd;
            std::size_t left = end - asciiEnd;
            // Code page 936 never takes more bytes than UTF-8 for a character.
            if (!converter->Step(in, left, out, 1)) {
                out.resize(start);
                return false;
            }
        }
        pos = end;
    }
    return true;
}

void EnsureCodePage() {
    ToCodePoints();
    ToUtf8();
    ToAnsi();
}

std::string Utf8FromAnsi(const AnsiString& text) {
    // Without surrogates (see Utf8Sink) the writer's UTF-8 is the standard one.
    std::string result;
    AppendUtf8OfUnits(result, text, AnsiPage::System);
    return result;
}

AnsiString AnsiFromUtf8(const std::string& text) {
    if (AsciiRunEnd(text, 0) == text.size()) return text;
    AnsiString result;
    Converter* converter = &ToAnsi();
    const char* in = text.data();
    std::size_t left = text.size();
    while (!converter->Step(in, left, result, 1)) {
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
