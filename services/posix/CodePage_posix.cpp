// Code page 936 through iconv. The platform has no system or thread ANSI code
// page, so both are CP936, the code page of every text of this program.
#include "CodePage.h"

#include <errno.h>
#include <iconv.h>

#include <algorithm>
#include <string>
#include <vector>

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

    // Converts as much as it can: returns false at an invalid or incomplete
    // sequence (in left at its start) and true when all input is consumed.
    bool Step(const char*& in, std::size_t& inLeft, std::string& out) {
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

Converter& ToAnsi() {
    thread_local Converter converter("CP936", "UTF-8");
    return Ready(converter, "no converter to CP936");
}

bool IsAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Appends code points given as UCS-4LE bytes as UTF-16 units.
void AppendAsUtf16(const std::string& codePoints, WideString& out) {
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
    std::string codePoints;
    Converter* converter = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Code page 936 keeps ASCII as it is, and templates are mostly
        // ASCII: only the runs of other characters go through iconv.
        std::size_t asciiEnd = pos;
        while (asciiEnd < text.size() && static_cast<unsigned char>(text[asciiEnd]) < 0x80) ++asciiEnd;
        if (asciiEnd > pos) {
            const std::size_t start = result.size();
            result.resize(start + (asciiEnd - pos));
            std::copy(text.data() + pos, text.data() + asciiEnd, &result[start]);
            pos = asciiEnd;
            continue;
        }
        // A run of whole characters: each lead byte with the byte after it,
        // whatever that is, so that the run ends where a character does.
        std::size_t end = pos;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) {
            end += IsGbkLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        }
        if (!converter) converter = &ToCodePoints();
        codePoints.clear();
        const char* in = text.data() + pos;
        std::size_t left = end - pos;
        const bool whole = converter->Step(in, left, codePoints);
        AppendAsUtf16(codePoints, result);
        pos = static_cast<std::size_t>(in - text.data());
        if (!whole) {
            // An invalid or incomplete sequence: one replacement character
            // for its first byte, then go on from the next byte (so an
            // ASCII byte after a stray lead byte survives).
            result += kReplacementUnit;
            ++pos;
            converter->Reset();
        }
    }
    return result;
}

void EnsureCodePage() {
    ToCodePoints();
    ToAnsi();
}

std::string Utf8FromAnsi(const AnsiString& text) { return Utf8FromUnits(DecodeAnsi(text, AnsiPage::System)); }

AnsiString AnsiFromUtf8(const std::string& text) {
    AnsiString result;
    if (text.empty() || IsAscii(text)) return text;
    Converter* converter = &ToAnsi();
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
