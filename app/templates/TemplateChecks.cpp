#include "TemplateChecks.h"

#include <algorithm>
#include <map>

#include "CodePage.h"
#include "PeImage.h"

namespace kx {

namespace {

constexpr char kPlaceholder[] = "$ProjectName$";
constexpr std::size_t kPlaceholderLength = sizeof kPlaceholder - 1;
// Beyond this many lines with the same problem, one line says how many more.
constexpr std::size_t kLinesPerProblem = 10;

// Length of the well-formed UTF-8 sequence at pos (code point in *cp), 0 when
// it is not one: overlong forms, surrogates and values past U+10FFFF are not.
std::size_t Utf8SequenceAt(const std::string& text, std::size_t pos, char32_t* cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        *cp = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return 0;
        value = value << 6 | (byte(pos + i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *cp = value;
    return length;
}

bool HoldsInCodePage936(const std::string& utf8) { return Utf8FromAnsi(AnsiFromUtf8(utf8)) == utf8; }

// The characters of one line that code page 936 cannot hold, each once.
std::vector<char32_t> CharactersNotIn936(const std::string& line) {
    std::vector<char32_t> seen;
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = Utf8SequenceAt(line, pos, &cp);
        const std::string character = line.substr(pos, length);
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

void CheckDollars(const std::string& line, std::size_t lineNumber, bool substituted, Findings& findings) {
    std::size_t column = 1;
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size(); ++column) {
        if (line[pos] != '$') {
            pos += Utf8SequenceAt(line, pos, &cp);
            continue;
        }
        const bool placeholder = line.compare(pos, kPlaceholderLength, kPlaceholder) == 0;
        if (placeholder && substituted) {
            pos += kPlaceholderLength;
            column += kPlaceholderLength - 1;
            continue;
        }
        const FindingKind kind = placeholder ? FindingKind::PlaceholderKept : FindingKind::StrayDollar;
        findings.Add({false, lineNumber, kind, column});
        return;  // one warning per line is enough to find it
    }
}

}  // namespace

bool CheckedText::Refused() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.refusal; });
}

CheckedText CheckTemplateText(const std::string& bytes, bool substituted) {
    CheckedText result;
    const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::string text = bom ? bytes.substr(3) : bytes;
    if (text.empty()) {
        result.findings.push_back({true, 0, FindingKind::Empty});
        return result;
    }

    // Lines without their ends; any of CR LF, LF and a lone CR ends one.
    std::vector<std::string> lines(1);
    std::size_t firstOtherLineEnd = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            lines.back() += c;
            continue;
        }
        const bool crlf = c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
        if (!crlf && firstOtherLineEnd == 0) firstOtherLineEnd = lines.size();
        if (crlf) ++pos;
        lines.emplace_back();
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        char32_t cp = 0;
        for (std::size_t pos = 0; pos < lines[i].size();) {
            const std::size_t length = Utf8SequenceAt(lines[i], pos, &cp);
            if (length == 0) {
                result.findings.push_back(
                    {true, i + 1, FindingKind::NotUtf8, static_cast<unsigned char>(lines[i][pos])});
                return result;  // whatever else it holds cannot be read as characters
            }
            pos += length;
        }
    }

    std::string normalized;
    for (std::size_t i = 0; i < lines.size(); ++i) normalized += (i ? "\r\n" : "") + lines[i];
    const bool fitsCodePage = HoldsInCodePage936(normalized);

    Findings findings;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.find('\0') != std::string::npos) findings.Add({true, i + 1, FindingKind::NulByte});
        if (!fitsCodePage && !HoldsInCodePage936(line)) {
            std::vector<char32_t> characters = CharactersNotIn936(line);
            Finding finding{true, i + 1, FindingKind::NotInCodePage};
            if (characters.empty()) finding.kind = FindingKind::LineNotInCodePage;
            finding.characters = std::move(characters);
            findings.Add(std::move(finding));
        }
        CheckDollars(line, i + 1, substituted, findings);
    }
    if (firstOtherLineEnd != 0) {
        findings.Add({false, firstOtherLineEnd, FindingKind::LineEnds});
    }
    result.findings = findings.Take();
    if (!result.Refused()) result.text = AnsiFromUtf8(normalized);
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
