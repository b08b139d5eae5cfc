#include "TemplateChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>

#include "ByteWords.h"
#include "CodePage.h"
#include "PeImage.h"
#include "TextContent.h"

namespace kx {

namespace {

constexpr char kPlaceholder[] = "$ProjectName$";
constexpr std::size_t kPlaceholderLength = sizeof kPlaceholder - 1;
// Beyond this many lines with the same problem, one line says how many more.
constexpr std::size_t kLinesPerProblem = 10;

bool HoldsInCodePage936(std::string_view utf8) {
    AnsiString ansi;
    return AppendAnsiOfUtf8(ansi, utf8);
}

// The characters of one line that code page 936 cannot hold, each once.
std::vector<char32_t> CharactersNotIn936(std::string_view line) {
    std::vector<char32_t> seen;
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = Utf8SequenceAt(line, pos, &cp);
        const std::string_view character = line.substr(pos, length);
        pos += length;
        if (cp < 0x80 || std::find(seen.begin(), seen.end(), cp) != seen.end()) continue;
        if (HoldsInCodePage936(character)) continue;
        seen.push_back(cp);
    }
    return seen;
}

// Findings of one kind are kept for the first lines only; the rest are counted.
class Findings {
public:
    void Add(Finding finding) {
        Count& count = counts_[finding.kind];
        count.refusal = finding.refusal;
        if (++count.lines <= kLinesPerProblem) list_.push_back(std::move(finding));
    }
    std::vector<Finding> Take() {
        std::stable_sort(list_.begin(), list_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        for (const auto& [kind, count] : counts_) {
            if (count.lines <= kLinesPerProblem) continue;
            list_.push_back({count.refusal, 0, FindingKind::MoreLines, count.lines - kLinesPerProblem});
        }
        return std::move(list_);
    }

private:
    struct Count {
        bool refusal = false;
        std::size_t lines = 0;
    };
    std::map<FindingKind, Count> counts_;
    std::vector<Finding> list_;
};

// The characters of UTF-8 text: its bytes but for the continuation bytes.
std::size_t CharactersIn(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// line is well-formed UTF-8: columns count its characters.
void CheckDollars(std::string_view line, std::size_t lineNumber, bool substituted, Findings& findings) {
    std::size_t column = 1;
    for (std::size_t pos = 0;;) {
        const std::size_t dollar = line.find('$', pos);
        if (dollar == std::string_view::npos) return;
        column += CharactersIn(line.substr(pos, dollar - pos));
        const bool placeholder = line.substr(dollar, kPlaceholderLength) == kPlaceholder;
        if (placeholder && substituted) {
            pos = dollar + kPlaceholderLength;
            column += kPlaceholderLength;
            continue;
        }
        const FindingKind kind = placeholder ? FindingKind::PlaceholderKept : FindingKind::StrayDollar;
        findings.Add({false, lineNumber, kind, column});
        return;  // one warning per line is enough to find it
    }
}

// How many bytes of text are CR or LF.
std::size_t LineEndBytes(std::string_view text) {
    std::size_t count = 0, pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        const std::uint64_t word = words::WordAt(text.data() + pos);
        count += words::CountMarked(words::BytesEqual(word, '\r') | words::BytesEqual(word, '\n'));
    }
    for (; pos < text.size(); ++pos) count += text[pos] == '\r' || text[pos] == '\n';
    return count;
}

// One line of the text: where it ends (at a CR, an LF or the end of the
// text), and whether it holds a NUL byte or a "$". Bytes from 0x80 up are
// passed over: they never stand for ASCII in UTF-8.
struct LineScan {
    std::size_t end = 0;
    bool nul = false;
    bool dollar = false;
};

LineScan ScanLine(std::string_view text, std::size_t pos) {
    // Eight bytes at a time while none of them is one to stop at.
    for (; pos + 8 <= text.size(); pos += 8) {
        const std::uint64_t word = words::WordAt(text.data() + pos);
        if ((words::ZeroBytes(word) | words::BytesEqual(word, '\r') | words::BytesEqual(word, '\n') |
             words::BytesEqual(word, '$')) != 0) {
            break;
        }
    }
    LineScan scan;
    for (; pos < text.size() && text[pos] != '\r' && text[pos] != '\n'; ++pos) {
        scan.nul |= text[pos] == '\0';
        scan.dollar |= text[pos] == '$';
    }
    scan.end = pos;
    return scan;
}

// Where the first byte that starts no well-formed UTF-8 sequence lies in
// line; npos when there is none.
std::size_t FirstInvalidByte(std::string_view line) {
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = Utf8SequenceAt(line, pos, &cp);
        if (length == 0) return pos;
        pos += length;
    }
    return std::string_view::npos;
}

}  // namespace

bool CheckedText::Refused() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.refusal; });
}

CheckedText CheckTemplateText(std::string_view bytes, bool substituted) {
    CheckedText result;
    const std::string_view bom = "\xEF\xBB\xBF";
    const std::string_view text = bytes.substr(0, bom.size()) == bom ? bytes.substr(bom.size()) : bytes;
    if (text.empty()) {
        result.findings.push_back({true, 0, FindingKind::Empty});
        return result;
    }

    // One pass over the lines, converting as it goes: the text is read once
    // and held twice at most, as UTF-8 and as GBK. Code page 936 never takes
    // more bytes than UTF-8 for a character; only line ends may grow.
    AnsiString gbk;
    gbk.reserve(text.size() + LineEndBytes(text));
    Findings findings;
    bool lineEndsNoted = false;
    for (std::size_t pos = 0, lineNumber = 1;; ++lineNumber) {
        // A CR or an LF is never part of a longer UTF-8 sequence: a line
        // ends at the first one whatever comes before it.
        const LineScan scan = ScanLine(text, pos);
        const std::string_view line = text.substr(pos, scan.end - pos);
        // The conversion reads every character and fails on bytes that are
        // no UTF-8 too: only then is the line looked at again.
        const bool converted = AppendAnsiOfUtf8(gbk, line);
        const std::size_t invalid = converted ? std::string_view::npos : FirstInvalidByte(line);
        if (invalid != std::string_view::npos) {
            // Whatever else the text holds cannot be read as characters.
            result.findings = {{true, lineNumber, FindingKind::NotUtf8, static_cast<unsigned char>(line[invalid])}};
            return result;
        }
        if (scan.nul) findings.Add({true, lineNumber, FindingKind::NulByte});
        if (!converted) {
            std::vector<char32_t> characters = CharactersNotIn936(line);
            Finding finding{true, lineNumber, characters.empty() ? FindingKind::LineNotInCodePage : FindingKind::NotInCodePage};
            finding.characters = std::move(characters);
            findings.Add(std::move(finding));
        }
        if (scan.dollar) CheckDollars(line, lineNumber, substituted, findings);
        if (scan.end == text.size()) break;
        const bool crlf = text[scan.end] == '\r' && scan.end + 1 < text.size() && text[scan.end + 1] == '\n';
        if (!crlf && !lineEndsNoted) {
            findings.Add({false, lineNumber, FindingKind::LineEnds});
            lineEndsNoted = true;
        }
        gbk += "\r\n";
        pos = scan.end + (crlf ? 2 : 1);
    }
    result.findings = findings.Take();
    if (!result.Refused()) result.text = std::move(gbk);
    return result;
}

std::optional<Finding> PointPickerDllProblem(const std::string& bytes) {
    Finding problem{true, 0, FindingKind::NotPointPicker};
    try {
        const PeImage image = ReadPeImage(bytes);
        if (image.machine != 0x14C) {
            problem.dll = DllDefect::NotX86;
            return problem;
        }
        if ((image.characteristics & 0x2000) == 0) {
            problem.dll = DllDefect::NotDll;
            return problem;
        }
        for (std::uint32_t ordinal : {1u, 2u}) {
            const auto found = image.addressesByOrdinal.find(ordinal);
            if (found == image.addressesByOrdinal.end() || found->second == 0) {
                problem.dll = DllDefect::MissingOrdinal;
                problem.number = ordinal;
                return problem;
            }
        }
    } catch (const PeFormatError&) {
        problem.dll = DllDefect::NotPe;
        return problem;
    }
    return std::nullopt;
}

}  // namespace kx
