// The line diff and merge over arbitrary bytes: the input is base, mine and
// theirs separated by zero bytes. Properties any line merge must have, and a
// diff checked for validity and, on small texts, for being shortest against
// the textbook longest-common-subsequence table.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "update/LineDiff.h"
#include "update/LineMerge.h"

namespace {

using kx::update::DiffLines;
using kx::update::LineChange;
using kx::update::MergeLines;
using kx::update::MergeResult;
using kx::update::SplitLines;
using Lines = std::vector<std::string_view>;

const kx::update::MergeLabels kLabels{"mine", "base", "theirs"};

// The changes turn a into b, one equal line at least between two of them.
void CheckScript(const Lines& a, const Lines& b, const std::vector<LineChange>& changes) {
    std::size_t i = 0;
    std::size_t j = 0;
    for (const LineChange& change : changes) {
        KX_FUZZ_CHECK(change.oldCount + change.newCount > 0);
        KX_FUZZ_CHECK(change.oldFirst >= i && change.newFirst >= j);
        KX_FUZZ_CHECK(change.oldFirst - i == change.newFirst - j);
        KX_FUZZ_CHECK(&change == &changes.front() || change.oldFirst > i);
        for (; i < change.oldFirst; ++i, ++j) KX_FUZZ_CHECK(a[i] == b[j]);
        i = change.OldEnd();
        j = change.NewEnd();
        KX_FUZZ_CHECK(i <= a.size() && j <= b.size());
    }
    KX_FUZZ_CHECK(a.size() - i == b.size() - j);
    for (; i < a.size(); ++i, ++j) KX_FUZZ_CHECK(a[i] == b[j]);
}

std::size_t LongestCommonSubsequence(const Lines& a, const Lines& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::size_t diagonal = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            const std::size_t above = row[j + 1];
            row[j + 1] = a[i] == b[j] ? diagonal + 1 : std::max(row[j], above);
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<LineChange> CheckedDiff(const Lines& a, const Lines& b) {
    const std::vector<LineChange> changes = DiffLines(a, b);
    CheckScript(a, b, changes);
    if (a.size() <= 300 && b.size() <= 300) {
        std::size_t cost = 0;
        for (const LineChange& change : changes) cost += change.oldCount + change.newCount;
        KX_FUZZ_CHECK(cost == a.size() + b.size() - 2 * LongestCommonSubsequence(a, b));
    }
    return changes;
}

bool Starts(std::string_view line, std::string_view mark) { return line.substr(0, mark.size()) == mark; }

void CheckMerge(const MergeResult& merged, const Lines& base, const Lines& mine, const Lines& theirs) {
    const Lines lines = SplitLines(merged.text);
    // Marks stand where the regions say, and only there when clean.
    std::size_t after = 0;
    for (const kx::update::ConflictRegion& region : merged.conflicts) {
        KX_FUZZ_CHECK(region.firstLine > after && region.lastLine >= region.firstLine + 3);
        KX_FUZZ_CHECK(region.lastLine <= lines.size());
        KX_FUZZ_CHECK(Starts(lines[region.firstLine - 1], "<<<<<<< mine"));
        KX_FUZZ_CHECK(Starts(lines[region.lastLine - 1], ">>>>>>> theirs"));
        after = region.lastLine;
    }
    if (merged.Clean()) {
        auto countMarks = [](const Lines& text) {
            return std::count_if(text.begin(), text.end(), [](std::string_view l) { return Starts(l, "<<<<<<<"); });
        };
        KX_FUZZ_CHECK(countMarks(lines) <= countMarks(mine) + countMarks(theirs));
    }
    // Every base line that neither side changed is there, in order.
    std::vector<char> changed(base.size());
    for (const Lines* side : {&mine, &theirs}) {
        for (const LineChange& change : DiffLines(base, *side)) {
            std::fill(changed.begin() + change.oldFirst, changed.begin() + change.OldEnd(), 1);
        }
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < base.size(); ++i) {
        if (changed[i]) continue;
        while (at < lines.size() && lines[at] != base[i]) ++at;
        KX_FUZZ_CHECK(at < lines.size());
        ++at;
    }
}

void CheckOneSided(std::string_view base, std::string_view mine, std::string_view theirs, std::string_view expected) {
    const MergeResult merged = MergeLines(base, mine, theirs, kLabels);
    KX_FUZZ_CHECK(merged.Clean() && merged.text == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view texts[3];
    std::size_t start = 0;
    for (std::string_view& text : texts) {
        const std::size_t zero = std::min(input.find('\0', start), input.size());
        text = input.substr(std::min(start, input.size()), zero - std::min(start, input.size()));
        start = zero + 1;
    }
    const std::string_view base = texts[0], mine = texts[1], theirs = texts[2];
    const Lines baseLines = SplitLines(base), mineLines = SplitLines(mine), theirsLines = SplitLines(theirs);

    CheckedDiff(baseLines, mineLines);
    CheckedDiff(mineLines, theirsLines);
    KX_FUZZ_CHECK(kx::update::UnifiedDiff(base, mine, "a", "b").empty() == (base == mine));

    CheckOneSided(base, base, theirs, theirs);
    CheckOneSided(base, mine, base, mine);
    CheckOneSided(base, mine, mine, mine);

    const MergeResult merged = MergeLines(base, mine, theirs, kLabels);
    CheckMerge(merged, baseLines, mineLines, theirsLines);
    // Neither side comes first: swapped, a clean merge is the same text.
    const MergeResult swapped = MergeLines(base, theirs, mine, kLabels);
    KX_FUZZ_CHECK(swapped.Clean() == merged.Clean());
    KX_FUZZ_CHECK(!merged.Clean() || swapped.text == merged.text);
    return 0;
}
