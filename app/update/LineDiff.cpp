#include "LineDiff.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace kx::update {
namespace {

using Index = std::ptrdiff_t;
using Numbers = std::vector<std::uint32_t>;
using Flags = std::vector<char>;

// Marks the lines of a and b that a shortest edit script deletes and inserts,
// by the linear-space divide and conquer over the edit graph: find a point an
// optimal path crosses, half-way in cost, and solve both sides of it.
class ShortestScript {
public:
    ShortestScript(const Numbers& a, const Numbers& b, Flags& deletedA, Flags& insertedB)
        : a_(a), b_(b), deleted_(deletedA), inserted_(insertedB),
          offset_(static_cast<Index>(b.size()) + 1),
          forward_(a.size() + b.size() + 3), backward_(a.size() + b.size() + 3) {
        // Past this many edits from either end a search settles for the
        // furthest point it reached; below it the script is a shortest one.
        Index root = 1;
        while (root * root < static_cast<Index>(a.size() + b.size())) ++root;
        costBound_ = std::max<Index>(kMinCostBound, root);
    }

    void Run() { Compare(0, static_cast<Index>(a_.size()), 0, static_cast<Index>(b_.size())); }

private:
    static constexpr Index kMinCostBound = 1024;
    static constexpr Index kUnreached = -1;

    // The first half ends at (aEnd, bEnd), the second starts at (aStart, bStart);
    // between them lies a run of equal lines.
    struct Split {
        Index aEnd, bEnd, aStart, bStart;
    };

    // Diagonals k = x - y that step d of a search from diagonal mid can reach,
    // kept inside the rectangle; the step's diagonals share d's parity.
    struct Band {
        Index low, high;
        bool Holds(Index k) const { return k >= low && k <= high; }
    };
    static Band BandAt(Index mid, Index d, Index kMin, Index kMax) {
        Band band{mid - d, mid + d};
        if (band.low < kMin) band.low = kMin + ((kMin - band.low) & 1);
        if (band.high > kMax) band.high = kMax - ((band.high - kMax) & 1);
        return band;
    }

    Index& Forward(Index k) { return forward_[static_cast<std::size_t>(k + offset_)]; }
    Index& Backward(Index k) { return backward_[static_cast<std::size_t>(k + offset_)]; }

    void ChangeAll(Index aLo, Index aHi, Index bLo, Index bHi) {
        std::fill(deleted_.begin() + aLo, deleted_.begin() + aHi, 1);
        std::fill(inserted_.begin() + bLo, inserted_.begin() + bHi, 1);
    }

    void Compare(Index aLo, Index aHi, Index bLo, Index bHi) {
        for (;;) {
            while (aLo < aHi && bLo < bHi && a_[aLo] == b_[bLo]) ++aLo, ++bLo;
            while (aLo < aHi && bLo < bHi && a_[aHi - 1] == b_[bHi - 1]) --aHi, --bHi;
            if (aLo == aHi || bLo == bHi) return ChangeAll(aLo, aHi, bLo, bHi);
            const Split split = FindSplit(aLo, aHi, bLo, bHi);
            const bool stuck = (split.aEnd == aLo && split.bEnd == bLo) ||
                               (split.aStart == aHi && split.bStart == bHi);
            if (stuck) return ChangeAll(aLo, aHi, bLo, bHi);  // the search's bounds rule it out; never loop

            // The smaller half recursively and the larger one in this loop, so
            // the depth stays logarithmic even when the bound splits unevenly.
            if ((split.aEnd - aLo) + (split.bEnd - bLo) < (aHi - split.aStart) + (bHi - split.bStart)) {
                Compare(aLo, split.aEnd, bLo, split.bEnd);
                aLo = split.aStart;
                bLo = split.bStart;
            } else {
                Compare(split.aStart, aHi, split.bStart, bHi);
                aHi = split.aEnd;
                bHi = split.bEnd;
            }
        }
    }

    // Both ends searched at once, one step of cost at a time, until the paths
    // meet on a diagonal. Where they meet first, the snake of the path that got
    // there lies on a shortest path.
    Split FindSplit(Index aLo, Index aHi, Index bLo, Index bHi) {
        const Index kMin = aLo - bHi;
        const Index kMax = aHi - bLo;
        const Index forwardMid = aLo - bLo;
        const Index backwardMid = aHi - bHi;
        const bool odd = ((forwardMid - backwardMid) & 1) != 0;
        Forward(forwardMid) = aLo;
        Backward(backwardMid) = aHi;
        Band forwardBand{forwardMid, forwardMid};
        Band backwardBand{backwardMid, backwardMid};
        for (Index d = 1;; ++d) {
            const Band nextForward = BandAt(forwardMid, d, kMin, kMax);
            for (Index k = nextForward.high; k >= nextForward.low; k -= 2) {
                Index x = kUnreached;
                if (forwardBand.Holds(k + 1) && Forward(k + 1) != kUnreached &&
                    Forward(k + 1) - (k + 1) < bHi) {
                    x = Forward(k + 1);  // a line of b inserted
                }
                if (forwardBand.Holds(k - 1) && Forward(k - 1) != kUnreached && Forward(k - 1) < aHi) {
                    x = std::max(x, Forward(k - 1) + 1);  // a line of a deleted
                }
                if (x == kUnreached) {
                    Forward(k) = kUnreached;
                    continue;
                }
                const Index x0 = x;
                Index y = x - k;
                while (x < aHi && y < bHi && a_[x] == b_[y]) ++x, ++y;
                Forward(k) = x;
                if (odd && backwardBand.Holds(k) && Backward(k) != kUnreached && x >= Backward(k)) {
                    return {x0, x0 - k, x, y};
                }
            }
            forwardBand = nextForward;

            const Band nextBackward = BandAt(backwardMid, d, kMin, kMax);
            for (Index k = nextBackward.high; k >= nextBackward.low; k -= 2) {
                Index x = kUnreached;
                if (backwardBand.Holds(k + 1) && Backward(k + 1) != kUnreached && Backward(k + 1) > aLo) {
                    x = Backward(k + 1) - 1;  // a line of a deleted
                }
                if (backwardBand.Holds(k - 1) && Backward(k - 1) != kUnreached &&
                    Backward(k - 1) - (k - 1) > bLo && (x == kUnreached || Backward(k - 1) < x)) {
                    x = Backward(k - 1);  // a line of b inserted
                }
                if (x == kUnreached) {
                    Backward(k) = kUnreached;
                    continue;
                }
                const Index x1 = x;
                Index y = x - k;
                while (x > aLo && y > bLo && a_[x - 1] == b_[y - 1]) --x, --y;
                Backward(k) = x;
                if (!odd && forwardBand.Holds(k) && Forward(k) != kUnreached && Forward(k) >= x) {
                    return {x, y, x1, x1 - k};
                }
            }
            backwardBand = nextBackward;

            if (d >= costBound_) return FurthestPoint(forwardBand, backwardBand, aLo, aHi, bLo, bHi);
        }
    }

    // The point either search got furthest from its own corner: the split of a
    // script that is no longer guaranteed shortest, after a costly search.
    Split FurthestPoint(Band forwardBand, Band backwardBand, Index aLo, Index aHi, Index bLo, Index bHi) {
        Index bestProgress = -1;
        Index bestX = aLo;
        Index bestK = aLo - bLo;
        for (Index k = forwardBand.low; k <= forwardBand.high; k += 2) {
            const Index x = Forward(k);
            if (x != kUnreached && (x - aLo) + (x - k - bLo) > bestProgress) {
                bestProgress = (x - aLo) + (x - k - bLo);
                bestX = x;
                bestK = k;
            }
        }
        for (Index k = backwardBand.low; k <= backwardBand.high; k += 2) {
            const Index x = Backward(k);
            if (x != kUnreached && (aHi - x) + (bHi - (x - k)) > bestProgress) {
                bestProgress = (aHi - x) + (bHi - (x - k));
                bestX = x;
                bestK = k;
            }
        }
        return {bestX, bestX - bestK, bestX, bestX - bestK};
    }

    const Numbers& a_;
    const Numbers& b_;
    Flags& deleted_;
    Flags& inserted_;
    Index offset_;
    std::vector<Index> forward_;   // furthest x reached forwards, by diagonal
    std::vector<Index> backward_;  // least x reached backwards, by diagonal
    Index costBound_;
};

// Of the shortest scripts, the one other line diffs show: each run of changed
// lines of x slid as low as equal lines let it go, or back up to the lowest
// place where it faces changed lines of the other text (a replacement reads
// better than a deletion here and an insertion there). Sliding keeps the
// script valid: the line that leaves the run's one end equals the line that
// joins at the other, so the unchanged lines read the same.
void SlideRuns(const Numbers& x, Flags& changedX, const Flags& changedY) {
    const Index n = static_cast<Index>(x.size());
    const Index m = static_cast<Index>(changedY.size());
    // The run of changed lines of the other text that faces the run
    // [start, end) is [otherStart, otherEnd): the equal lines of both texts
    // pair up in order, and these lie between the same two pairs.
    Index start = 0;
    Index otherStart = 0;
    Index otherEnd = 0;
    auto faceRunBefore = [&] {
        otherEnd = otherStart - 1;
        otherStart = otherEnd;
        while (otherStart > 0 && changedY[otherStart - 1]) --otherStart;
    };
    auto faceRunAfter = [&] {
        otherStart = otherEnd + 1;
        otherEnd = otherStart;
        while (otherEnd < m && changedY[otherEnd]) ++otherEnd;
    };
    for (;;) {
        while (start < n && !changedX[start]) {
            while (otherStart < m && changedY[otherStart]) ++otherStart;
            ++otherStart, ++start;
        }
        if (start == n) return;
        Index end = start;
        while (end < n && changedX[end]) ++end;
        otherEnd = otherStart;
        while (otherEnd < m && changedY[otherEnd]) ++otherEnd;

        Index length;
        Index alignedEnd;
        do {
            length = end - start;
            while (start > 0 && x[start - 1] == x[end - 1]) {
                changedX[--start] = 1;
                changedX[--end] = 0;
                while (start > 0 && changedX[start - 1]) --start;
                faceRunBefore();
            }
            alignedEnd = otherEnd > otherStart ? end : -1;
            while (end < n && x[start] == x[end]) {
                changedX[start++] = 0;
                changedX[end++] = 1;
                while (end < n && changedX[end]) ++end;
                faceRunAfter();
                if (otherEnd > otherStart) alignedEnd = end;
            }
        } while (length != end - start);  // it swallowed a neighbouring run: again
        while (alignedEnd >= 0 && end > alignedEnd) {
            changedX[--start] = 1;
            changedX[--end] = 0;
            faceRunBefore();
        }
        start = end;
        otherStart = otherEnd;
    }
}

// The lines of a text that the other text has too, and where they stand;
// every other line is marked changed.
struct Shared {
    Numbers numbers;
    std::vector<std::size_t> places;
};
Shared SharedLines(const Numbers& text, const Flags& inOther, Flags& changed) {
    Shared shared;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!inOther[text[i]]) {
            changed[i] = 1;
        } else {
            shared.numbers.push_back(text[i]);
            shared.places.push_back(i);
        }
    }
    return shared;
}

std::vector<LineChange> ChangesFrom(const Flags& deleted, const Flags& inserted) {
    std::vector<LineChange> changes;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < deleted.size() || j < inserted.size()) {
        if ((i == deleted.size() || !deleted[i]) && (j == inserted.size() || !inserted[j])) {
            ++i, ++j;
            continue;
        }
        LineChange change{i, 0, j, 0};
        while (i < deleted.size() && deleted[i]) ++i;
        while (j < inserted.size() && inserted[j]) ++j;
        change.oldCount = i - change.oldFirst;
        change.newCount = j - change.newFirst;
        changes.push_back(change);
    }
    return changes;
}

// The 1-based range of a hunk header; an empty range names the line before it.
std::string HunkRange(std::size_t first, std::size_t count) {
    if (count == 1) return std::to_string(first + 1);
    return std::to_string(count == 0 ? first : first + 1) + "," + std::to_string(count);
}

void AppendLine(std::string& out, char prefix, std::string_view line) {
    out += prefix;
    out += line;
    if (line.empty() || line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

}  // namespace

bool LineChange::operator==(const LineChange& other) const {
    return oldFirst == other.oldFirst && oldCount == other.oldCount && newFirst == other.newFirst &&
           newCount == other.newCount;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::vector<LineChange> DiffLines(const std::vector<std::string_view>& oldLines,
                                  const std::vector<std::string_view>& newLines) {
    // Equal lines get equal numbers, so the search compares integers.
    std::unordered_map<std::string_view, std::uint32_t> numbering;
    auto numberOf = [&numbering](std::string_view line) {
        return numbering.emplace(line, static_cast<std::uint32_t>(numbering.size())).first->second;
    };
    Numbers a(oldLines.size());
    Numbers b(newLines.size());
    std::transform(oldLines.begin(), oldLines.end(), a.begin(), numberOf);
    std::transform(newLines.begin(), newLines.end(), b.begin(), numberOf);

    // A line that only one text has is changed in every script. Leaving such
    // lines out of the search shortens it, and ends it at once for two
    // entirely different texts.
    Flags inA(numbering.size());
    Flags inB(numbering.size());
    for (std::uint32_t number : a) inA[number] = 1;
    for (std::uint32_t number : b) inB[number] = 1;
    Flags deleted(a.size());
    Flags inserted(b.size());
    const Shared sharedA = SharedLines(a, inB, deleted);
    const Shared sharedB = SharedLines(b, inA, inserted);
    Flags sharedDeleted(sharedA.numbers.size());
    Flags sharedInserted(sharedB.numbers.size());
    ShortestScript(sharedA.numbers, sharedB.numbers, sharedDeleted, sharedInserted).Run();
    for (std::size_t i = 0; i < sharedA.places.size(); ++i) deleted[sharedA.places[i]] = sharedDeleted[i];
    for (std::size_t j = 0; j < sharedB.places.size(); ++j) inserted[sharedB.places[j]] = sharedInserted[j];

    SlideRuns(a, deleted, inserted);
    SlideRuns(b, inserted, deleted);
    return ChangesFrom(deleted, inserted);
}

std::string UnifiedDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                        std::string_view newLabel, std::size_t context) {
    const std::vector<std::string_view> a = SplitLines(oldText);
    const std::vector<std::string_view> b = SplitLines(newText);
    const std::vector<LineChange> changes = DiffLines(a, b);
    if (changes.empty()) return {};

    std::string out;
    out.append("--- ").append(oldLabel).append("\n+++ ").append(newLabel).append("\n");
    for (std::size_t first = 0; first < changes.size();) {
        std::size_t last = first;
        while (last + 1 < changes.size() && changes[last + 1].oldFirst - changes[last].OldEnd() <= 2 * context) {
            ++last;
        }
        const std::size_t before = std::min(context, changes[first].oldFirst);
        const std::size_t after = std::min(context, a.size() - changes[last].OldEnd());
        const std::size_t oldStart = changes[first].oldFirst - before;
        const std::size_t newStart = changes[first].newFirst - before;
        const std::size_t oldEnd = changes[last].OldEnd() + after;
        const std::size_t newEnd = changes[last].NewEnd() + after;
        out.append("@@ -").append(HunkRange(oldStart, oldEnd - oldStart));
        out.append(" +").append(HunkRange(newStart, newEnd - newStart)).append(" @@\n");

        std::size_t i = oldStart;
        for (std::size_t c = first; c <= last; ++c) {
            const LineChange& change = changes[c];
            for (; i < change.oldFirst; ++i) AppendLine(out, ' ', a[i]);
            for (; i < change.OldEnd(); ++i) AppendLine(out, '-', a[i]);
            for (std::size_t j = change.newFirst; j < change.NewEnd(); ++j) AppendLine(out, '+', b[j]);
        }
        for (; i < oldEnd; ++i) AppendLine(out, ' ', a[i]);
        first = last + 1;
    }
    return out;
}

}  // namespace kx::update
