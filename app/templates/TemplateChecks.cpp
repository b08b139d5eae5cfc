#include "TemplateChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string_view>

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

// How often c occurs in text: memchr skips whole lines at a time.
std::size_t Occurrences(std::string_view text, char c) {
    std::size_t count = 0;
    for (const char* at = text.data(), *end = text.data() + text.size();
         (at = static_cast<const char*>(std::memchr(at, c, static_cast<std::size_t>(end - at)))) != nullptr; ++at) {
        ++count;
    }
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
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const auto zeroBytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
    LineScan scan;
    for (std::uint64_t word = 0; pos + sizeof word <= text.size(); pos += sizeof word) {
        std::memcpy(&word, text.data() + pos, sizeof word);
        if ((zeroBytes(word) | zeroBytes(word ^ (kOnes * '\r')) | zeroBytes(word ^ (kOnes * '\n')) |
             zeroBytes(word ^ (kOnes * '$'))) != 0) {
            break;
        }
    }
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
        result.findings.push_back({true, 0, "文件是空的：生成的项目会缺少这个文件"});
        return result;
    }

    // One pass over the lines, converting as it goes: the text is read once
    // and held twice at most, as UTF-8 and as GBK. Code page 936 never takes
    // more bytes than UTF-8 for a character; only line ends may grow.
    AnsiString gbk;
    gbk.reserve(text.size() + Occurrences(text, '\n') + Occurrences(text, '\r'));
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
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(line[invalid]));
            result.findings = {{true, lineNumber,
                                std::string("不是 UTF-8 文本（第一个无效字节 ") + byte +
                                    "）：文件是否按 ANSI/GBK 保存了？请另存为 UTF-8"}};
            return result;
        }
        if (scan.nul) findings.Add(kNul, true, lineNumber, "含有 NUL 字节（0x00）");
        if (!converted) {
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
