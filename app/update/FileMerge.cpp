#include "FileMerge.h"

#include "TextContent.h"

namespace kx::update {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

enum class LineEnds { None, Lf, CrLf, Mixed };

LineEnds LineEndsOf(std::string_view text) {
    bool lf = false;
    bool crlf = false;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        (at > 0 && text[at - 1] == '\r' ? crlf : lf) = true;
    }
    if (lf && crlf) return LineEnds::Mixed;
    return lf ? LineEnds::Lf : crlf ? LineEnds::CrLf : LineEnds::None;
}

// Every line end of text made LF or CR LF.
std::string WithLineEnds(std::string_view text, LineEnds wanted) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the LF below decides
        if (c == '\n' && wanted == LineEnds::CrLf) out += '\r';
        out += c;
    }
    return out;
}

// Back from the merge form: each unit as AppendUtf8Unit wrote it; a
// character beyond U+FFFF, which only a label can bring, as its surrogate
// pair; a byte of no form (never made by DecodeForMerge) as a unit of its own.
std::string UnitsOf(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char16_t unit = 0;
        char32_t cp = 0;
        if (const std::size_t length = Utf8UnitAt(text, i, &unit)) {
            units += unit;
            i += length;
        } else if (Utf8SequenceAt(text, i, &cp) == 4) {
            units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            i += 4;
        } else {
            units += static_cast<char16_t>(static_cast<unsigned char>(text[i]));
            i += 1;
        }
    }
    return Utf16FileContent(units, false);
}

}  // namespace

bool DecodeForMerge(std::string_view bytes, TextEncoding encoding, MergeText& out) {
    out = MergeText();
    if (encoding == TextEncoding::Utf8) {
        out.byteOrderMark = bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark;
        out.text = std::string(bytes.substr(out.byteOrderMark ? kUtf8Mark.size() : 0));
        return true;
    }
    if (bytes.substr(0, kUtf16LeMark.size()) != kUtf16LeMark || bytes.size() % 2 != 0) return false;
    out.byteOrderMark = true;
    out.text.reserve(bytes.size());
    for (std::size_t i = kUtf16LeMark.size(); i < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        AppendUtf8Unit(out.text, static_cast<char16_t>(low | high << 8));
    }
    return true;
}

std::string EncodeAfterMerge(const MergeText& text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return (text.byteOrderMark ? std::string(kUtf8Mark) : std::string()) + text.text;
    return std::string(kUtf16LeMark) + UnitsOf(text.text);
}

FileMergeResult MergeFile(std::string_view base, std::string_view mine, std::string_view theirs, TextEncoding encoding,
                          const MergeLabels& labels) {
    FileMergeResult result;
    MergeText mineText;
    MergeText baseText;
    MergeText theirsText;
    if (!DecodeForMerge(mine, encoding, mineText)) {
        result.verdict = MergeVerdict::Undecodable;
        return result;
    }
    // Base and theirs are the generator's own bytes; an empty base is
    // nothing generated before, which decodes to no lines.
    DecodeForMerge(base, encoding, baseText);
    DecodeForMerge(theirs, encoding, theirsText);

    const LineEnds own = LineEndsOf(mineText.text);
    if (own == LineEnds::Lf || own == LineEnds::CrLf) {
        for (MergeText* other : {&baseText, &theirsText}) {
            const LineEnds ends = LineEndsOf(other->text);
            if (ends == own || ends == LineEnds::None) continue;
            other->text = WithLineEnds(other->text, own);
            result.lineEndsAsMine = true;
        }
    }

    MergeResult merged = MergeLines(baseText.text, mineText.text, theirsText.text, labels);
    result.verdict = merged.Clean() ? MergeVerdict::Clean : MergeVerdict::Conflict;
    result.conflicts = merged.conflicts.size();
    MergeText out;
    out.byteOrderMark = mineText.byteOrderMark;
    out.text = std::move(merged.text);
    result.bytes = EncodeAfterMerge(out, encoding);
    result.mineText = std::move(mineText.text);
    result.resultText = std::move(out.text);
    return result;
}

}  // namespace kx::update
