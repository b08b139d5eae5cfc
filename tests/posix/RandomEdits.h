// Seeded random three-way cases for the merge oracles: base, and mine and
// theirs edited from it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/TempFolder.h"
#include "update/LineDiff.h"

namespace kx::test {

using Lines = std::vector<std::string>;

struct ThreeTexts {
    std::string base, mine, theirs;
};

inline std::string Join(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

inline Lines LinesOf(const std::string& text) {
    Lines lines;
    for (std::string_view line : update::SplitLines(text)) lines.emplace_back(line);
    return lines;
}

// Three texts as kxgen will meet them: a stretch of a real template (GBK or
// UTF-8, CR LF) or a few short lines that repeat, so that several alignments
// compete; each side edited a few times, sometimes both the same way.
class RandomEdits {
public:
    explicit RandomEdits(std::uint32_t seed) : random_(seed) {
        for (const char* folder : {KX_TEMPLATE_GBK_DIR, KX_SOURCE_DIR "/templates/text"}) {
            for (const char* name : {"code", "form", "programe", "publicfun", "runtimefun"}) {
                const auto bytes = ReadFileBytes(std::string(folder) + "/" + name + ".txt");
                if (bytes) templates_.push_back(LinesOf(*bytes));
            }
        }
    }

    bool HaveTemplates() const { return templates_.size() == 10; }

    ThreeTexts Next() {
        Lines lines;
        if (Chance(3, 5)) {
            const Lines& source = templates_[Below(templates_.size())];
            const std::size_t first = Below(source.size());
            lines.assign(source.begin() + first, source.begin() + std::min(source.size(), first + Below(41)));
        } else {
            for (std::size_t count = Below(17); count > 0; --count) lines.push_back(ShortLine());
        }
        if (!lines.empty() && Chance(1, 10)) DropLastLineEnd(lines);
        const Lines mineLines = Edited(lines);
        Lines theirsLines;
        const std::size_t kind = Below(8);
        if (kind == 0) theirsLines = mineLines;
        else if (kind == 1) theirsLines = Edited(mineLines, 1, 1);
        else theirsLines = Edited(lines);
        return {Join(lines), Join(mineLines), Join(theirsLines)};
    }

private:
    std::size_t Below(std::size_t bound) { return bound ? random_() % bound : 0; }
    bool Chance(std::size_t times, std::size_t in) { return Below(in) < times; }

    std::string ShortLine() {
        static const char* const kLines[] = {"a\r\n", "b\r\n", "}\r\n", "\r\n", "end\r\n", "a\n",
                                             "x\n", "\x81\x5C\r\n", "\x81\x7C\r\n", "\xB1\xED\r\n"};
        return kLines[Below(std::size(kLines))];
    }

    std::string AnyLine(const Lines& near) {
        switch (Below(4)) {
        case 0: return ShortLine();
        case 1: return near.empty() ? ShortLine() : near[Below(near.size())];
        case 2: {
            const Lines& source = templates_[Below(templates_.size())];
            return source[Below(source.size())];
        }
        default: return "new " + std::to_string(Below(1000)) + "\r\n";
        }
    }

    static void DropLastLineEnd(Lines& lines) {
        std::string& last = lines.back();
        while (!last.empty() && (last.back() == '\n' || last.back() == '\r')) last.pop_back();
        if (last.empty()) lines.pop_back();
    }

    Lines Edited(Lines lines, std::size_t fewest = 0, std::size_t most = 3) {
        for (std::size_t count = fewest + Below(most - fewest + 1); count > 0; --count) {
            const std::size_t at = Below(lines.size() + 1);
            const std::size_t span = std::min(lines.size() - at, 1 + Below(3));
            switch (Below(8) / 2 + Below(2)) {  // line ends changed on a fifth of the edits
            case 0:
                for (std::size_t n = 1 + Below(3); n > 0; --n) lines.insert(lines.begin() + at, AnyLine(lines));
                break;
            case 1: lines.erase(lines.begin() + at, lines.begin() + at + span); break;
            case 2:
                lines.erase(lines.begin() + at, lines.begin() + at + span);
                for (std::size_t n = Below(4); n > 0; --n) lines.insert(lines.begin() + at, AnyLine(lines));
                break;
            case 3:  // CR LF to LF or back, on one line
                if (at == lines.size()) break;
                if (lines[at].size() >= 2 && lines[at].substr(lines[at].size() - 2) == "\r\n") {
                    lines[at].erase(lines[at].size() - 2, 1);
                } else if (lines[at].back() == '\n') {
                    lines[at].insert(lines[at].size() - 1, "\r");
                }
                break;
            default:  // the last line loses its line end or gets one
                if (!lines.empty() && lines.back().back() == '\n') DropLastLineEnd(lines);
                else if (!lines.empty()) lines.back() += "\r\n";
            }
        }
        return lines;
    }

    std::mt19937 random_;
    std::vector<Lines> templates_;
};

}  // namespace kx::test
