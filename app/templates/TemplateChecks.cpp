#include "TemplateChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>

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
std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos, char32_t* cp) {
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

bool HoldsInCodePage936(std::string_view utf8) {
    AnsiString ansi;
    return AppendAnsiOfUtf8(ansi, utf8);
}

// "U+1F600 😀"; invisible characters by their number alone.
std::string CharacterName(char32_t cp, std::string_view utf8) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(cp));
    const bool invisible = cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || (cp >= 0x200B && cp <= 0x200F) ||
                           cp == 0xFEFF;
    return invisible ? std::string(number) : std::string(number) + " " + std::string(utf8);
}

// The characters of one line that code page 936 cannot hold, each named once.
std::string CharactersNotIn936(std::string_view line) {
    std::string names;
    std::vector<char32_t> seen;
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = Utf8SequenceAt(line, pos, &cp);
        const std::string_view character = line.substr(pos, length);
        pos += length;
        if (cp < 0x80 || std::find(seen.begin(), seen.end(), cp) != seen.end()) continue;
        if (HoldsInCodePage936(character)) continue;
        seen.push_back(cp);
        names += (names.empty() ? "" : "、") + CharacterName(cp, character);
    }
    return names;
}

// Findings of one kind are kept for the first lines only; the rest are counted.
class Findings {
public:
    void Add(int kind, bool refusal, std::size_t line, std::string message) {
        Count& count = counts_[kind];
        count.refusal = refusal;
        if (++count.lines <= kLinesPerProblem) list_.push_back({refusal, line, std::move(message)});
    }
    std::vector<Finding> Take() {
        std::stable_sort(list_.begin(), list_.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        for (const auto& [kind, count] : counts_) {
            if (count.lines <= kLinesPerProblem) continue;
            list_.push_back({count.refusal, 0,
                             "……另有 " + std::to_string(count.lines - kLinesPerProblem) +
                                 " 行有同样的问题"});
        }
        return std::move(list_);
    }

private:
    struct Count {
        bool refusal = false;
        std::size_t lines = 0;
    };
    std::map<int, Count> counts_;
    std::vector<Finding> list_;
};

enum Kind { kNul, kNot936, kDollar, kDollarKept, kLineEnds };

void CheckDollars(std::string_view line, std::size_t lineNumber, bool substituted, Findings& findings) {
    std::size_t column = 1;
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size(); ++column) {
        if (line[pos] != '$') {
            pos += Utf8SequenceAt(line, pos, &cp);
            continue;
        }
        const bool placeholder = line.substr(pos, kPlaceholderLength) == kPlaceholder;
        if (placeholder && substituted) {
            pos += kPlaceholderLength;
            column += kPlaceholderLength - 1;
            continue;
        }
        const std::string where = "第 " + std::to_string(column) + " 列";
        if (placeholder) {
            findings.Add(kDollarKept, false, lineNumber,
                         where + "的 $ProjectName$ 不会被替换：这个文件原样写入");
        } else {
            findings.Add(kDollar, false, lineNumber,
                         where + "的“$”不属于 $ProjectName$，将原样写入");
        }
        return;  // one warning per line is enough to find it
    }
}

// One line of UTF-8 text: where it ends (at a CR, an LF or the end of the
// text), its first byte that starts no well-formed sequence, and whether it
// holds a NUL byte or a "$".
struct LineScan {
    std::size_t end = 0;
    std::size_t invalidAt = std::string_view::npos;
    bool nul = false;
    bool dollar = false;
};

LineScan ScanLine(std::string_view text, std::size_t pos) {
    // Eight ASCII bytes at a time, none of them one the line must stop at.
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
    LineScan scan;
    char32_t cp = 0;
    while (pos < text.size()) {
        std::uint64_t word = 0;
        if (pos + sizeof word <= text.size()) {
            std::memcpy(&word, text.data() + pos, sizeof word);
            const std::uint64_t stops = (word & kHigh) | zeroBytes(word) | zeroBytes(word ^ (kOnes * '\r')) |
                                        zeroBytes(word ^ (kOnes * '\n')) | zeroBytes(word ^ (kOnes * '$'));
            if (stops == 0) {
                pos += sizeof word;
                continue;
            }
        }
        const char c = text[pos];
        if (c == '\r' || c == '\n') break;
        if (static_cast<unsigned char>(c) < 0x80) {
            scan.nul |= c == '\0';
            scan.dollar |= c == '$';
            ++pos;
            continue;
        }
        const std::size_t length = Utf8SequenceAt(text, pos, &cp);
        if (length == 0) {
            scan.invalidAt = pos;
            break;
        }
        pos += length;
    }
    scan.end = pos;
    return scan;
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
        result.findings.push_back({true, 0, "文件是空的：生成的项目会缺少这个文件"});
        return result;
    }

    // One pass over the lines, converting as it goes: the text is read once
    // and held twice at most, as UTF-8 and as GBK. Code page 936 never takes
    // more bytes than UTF-8 for a character; only line ends may grow.
    AnsiString gbk;
    gbk.reserve(text.size() + std::count(text.begin(), text.end(), '\n') +
                std::count(text.begin(), text.end(), '\r'));
    Findings findings;
    bool lineEndsNoted = false;
    for (std::size_t pos = 0, lineNumber = 1;; ++lineNumber) {
        const LineScan scan = ScanLine(text, pos);
        const std::string_view line = text.substr(pos, scan.end - pos);
        if (scan.invalidAt != std::string_view::npos) {
            // Whatever else it holds cannot be read as characters.
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(text[scan.invalidAt]));
            result.findings = {{true, lineNumber,
                                std::string("不是 UTF-8 文本（第一个无效字节 ") + byte +
                                    "）：文件是否按 ANSI/GBK 保存了？请另存为 UTF-8"}};
            return result;
        }
        if (scan.nul) findings.Add(kNul, true, lineNumber, "含有 NUL 字节（0x00）");
        if (!AppendAnsiOfUtf8(gbk, line)) {
            const std::string names = CharactersNotIn936(line);
            findings.Add(kNot936, true, lineNumber,
                         names.empty() ? "这一行无法按代码页 936 (GBK) 原样保存"
                                       : "代码页 936 (GBK) 无法表示的字符：" + names);
        }
        if (scan.dollar) CheckDollars(line, lineNumber, substituted, findings);
        if (scan.end == text.size()) break;
        const bool crlf = text[scan.end] == '\r' && scan.end + 1 < text.size() && text[scan.end + 1] == '\n';
        if (!crlf && !lineEndsNoted) {
            findings.Add(kLineEnds, false, lineNumber, "行尾不是 CR LF（第一处在这一行），已全部按 CR LF 写入");
            lineEndsNoted = true;
        }
        gbk += "\r\n";
        pos = scan.end + (crlf ? 2 : 1);
    }
    result.findings = findings.Take();
    if (!result.Refused()) result.text = std::move(gbk);
    return result;
}

std::optional<std::string> PointPickerDllProblem(const std::string& bytes) {
    std::string why;
    try {
        const PeImage image = ReadPeImage(bytes);
        if (image.machine != 0x14C) {
            why = "不是 32 位 (x86) 映像";
        } else if ((image.characteristics & 0x2000) == 0) {
            why = "不是 DLL";
        } else {
            for (std::uint32_t ordinal : {1u, 2u}) {
                const auto found = image.addressesByOrdinal.find(ordinal);
                if (found == image.addressesByOrdinal.end() || found->second == 0) {
                    why = "没有导出序号 " + std::to_string(ordinal);
                    break;
                }
            }
        }
    } catch (const PeFormatError&) {
        why = "读不出 32 位 PE 文件的结构";
    }
    if (why.empty()) return std::nullopt;
    return "不是导出序号 1 和 2 的 32 位 DLL（" + why + "）：生成的项目在第一次取点时就会出错";
}

}  // namespace kx
