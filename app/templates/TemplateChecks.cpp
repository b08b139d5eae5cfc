#include "TemplateChecks.h"

#include <algorithm>
#include <cstdio>
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

// "U+1F600 😀"; invisible characters by their number alone.
std::string CharacterName(char32_t cp, const std::string& utf8) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(cp));
    const bool invisible = cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || (cp >= 0x200B && cp <= 0x200F) ||
                           cp == 0xFEFF;
    return invisible ? std::string(number) : std::string(number) + " " + utf8;
}

// The characters of one line that code page 936 cannot hold, each named once.
std::string CharactersNotIn936(const std::string& line) {
    std::string names;
    std::vector<char32_t> seen;
    char32_t cp = 0;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = Utf8SequenceAt(line, pos, &cp);
        const std::string character = line.substr(pos, length);
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

}  // namespace

bool CheckedText::Refused() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.refusal; });
}

CheckedText CheckTemplateText(const std::string& bytes, bool substituted) {
    CheckedText result;
    const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::string text = bom ? bytes.substr(3) : bytes;
    if (text.empty()) {
        result.findings.push_back({true, 0, "文件是空的：生成的项目会缺少这个文件"});
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
                char byte[8];
                std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(lines[i][pos]));
                result.findings.push_back(
                    {true, i + 1,
                     std::string("不是 UTF-8 文本（第一个无效字节 ") + byte +
                         "）：文件是否按 ANSI/GBK 保存了？请另存为 UTF-8"});
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
        if (line.find('\0') != std::string::npos) {
            findings.Add(kNul, true, i + 1, "含有 NUL 字节（0x00）");
        }
        if (!fitsCodePage && !HoldsInCodePage936(line)) {
            const std::string names = CharactersNotIn936(line);
            findings.Add(kNot936, true, i + 1,
                         names.empty() ? "这一行无法按代码页 936 (GBK) 原样保存"
                                       : "代码页 936 (GBK) 无法表示的字符：" + names);
        }
        CheckDollars(line, i + 1, substituted, findings);
    }
    if (firstOtherLineEnd != 0) {
        findings.Add(kLineEnds, false, firstOtherLineEnd, "行尾不是 CR LF（第一处在这一行），已全部按 CR LF 写入");
    }
    result.findings = findings.Take();
    if (!result.Refused()) result.text = AnsiFromUtf8(normalized);
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
