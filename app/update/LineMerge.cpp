#include "LineMerge.h"

#include <algorithm>

#include "LineDiff.h"

namespace kx::update {
namespace {

using Lines = std::vector<std::string_view>;

// One side's view of a region: its changes there and where its lines are.
struct Side {
    Lines lines;
    std::vector<LineChange> changes;
    std::size_t next = 0;      // first change not yet in a region
    std::ptrdiff_t shift = 0;  // its line number minus base's, past the changes taken

    bool HasChangeFrom(std::size_t baseLine) const {
        return next < changes.size() && changes[next].oldFirst <= baseLine;
    }
    std::size_t LineAt(std::size_t baseLine) const { return static_cast<std::size_t>(baseLine + shift); }
    std::size_t TakeChange() {
        const LineChange& change = changes[next++];
        shift += static_cast<std::ptrdiff_t>(change.newCount) - static_cast<std::ptrdiff_t>(change.oldCount);
        return change.OldEnd();
    }
};

std::string_view LineEndOf(const Lines& base, const Lines& mine, const Lines& theirs) {
    for (const Lines* text : {&base, &mine, &theirs}) {
        if (text->empty()) continue;
        const std::string_view first = text->front();
        return first.size() >= 2 && first.substr(first.size() - 2) == "\r\n" ? "\r\n" : "\n";
    }
    return "\n";
}

// Lines [first, end) of one text.
struct Slice {
    const Lines& lines;
    std::size_t first;
    std::size_t end;

    bool operator==(const Slice& other) const {
        return end - first == other.end - other.first &&
               std::equal(lines.begin() + first, lines.begin() + end, other.lines.begin() + other.first);
    }
};

class MergedText {
public:
    explicit MergedText(std::string_view lineEnd) : lineEnd_(lineEnd) {}

    void Add(const Slice& slice) {
        for (std::size_t i = slice.first; i < slice.end; ++i) result_.text += slice.lines[i];
        lines_ += slice.end - slice.first;
    }

    void AddConflict(const MergeLabels& labels, const Slice& mine, const Slice& base, const Slice& theirs) {
        const std::size_t firstLine = lines_ + 1;
        AddMark("<<<<<<<", labels.mine);
        AddSection(mine);
        AddMark("|||||||", labels.base);
        AddSection(base);
        AddMark("=======", "");
        AddSection(theirs);
        AddMark(">>>>>>>", labels.theirs);
        result_.conflicts.push_back({firstLine, lines_});
    }

    MergeResult Finish() { return std::move(result_); }

private:
    void AddMark(std::string_view mark, std::string_view label) {
        result_.text += mark;
        if (!label.empty()) result_.text.append(" ").append(label);
        result_.text += lineEnd_;
        ++lines_;
    }

    // A mark starts a line of its own even after a last line without a line
    // end; a last line that stops after its CR only needs the LF.
    void AddSection(const Slice& slice) {
        Add(slice);
        if (slice.first == slice.end) return;
        const char last = slice.lines[slice.end - 1].back();
        if (last != '\n') result_.text += last == '\r' ? "\n" : lineEnd_;
    }

    std::string_view lineEnd_;
    MergeResult result_;
    std::size_t lines_ = 0;
};

}  // namespace

MergeResult MergeLines(std::string_view baseText, std::string_view mineText, std::string_view theirsText,
                       const MergeLabels& labels) {
    const Lines base = SplitLines(baseText);
    Side mine{SplitLines(mineText), {}};
    Side theirs{SplitLines(theirsText), {}};
    mine.changes = DiffLines(base, mine.lines);
    theirs.changes = DiffLines(base, theirs.lines);

    MergedText merged(LineEndOf(base, mine.lines, theirs.lines));
    std::size_t done = 0;  // base lines [0, done) are in the merged text
    while (mine.next < mine.changes.size() || theirs.next < theirs.changes.size()) {
        // The region starts at the first change left and takes in every
        // change of either side that begins before or right where it ends.
        std::size_t first = base.size();
        if (mine.next < mine.changes.size()) first = mine.changes[mine.next].oldFirst;
        if (theirs.next < theirs.changes.size()) first = std::min(first, theirs.changes[theirs.next].oldFirst);
        const std::size_t mineFirst = mine.LineAt(first);
        const std::size_t theirsFirst = theirs.LineAt(first);
        std::size_t end = first;
        bool mineChanged = false;
        bool theirsChanged = false;
        for (bool grew = true; grew;) {
            grew = false;
            if (mine.HasChangeFrom(end)) {
                end = std::max(end, mine.TakeChange());
                mineChanged = grew = true;
            }
            if (theirs.HasChangeFrom(end)) {
                end = std::max(end, theirs.TakeChange());
                theirsChanged = grew = true;
            }
        }
        const Slice mineSlice{mine.lines, mineFirst, mine.LineAt(end)};
        const Slice theirsSlice{theirs.lines, theirsFirst, theirs.LineAt(end)};

        merged.Add({base, done, first});
        if (!theirsChanged || mineSlice == theirsSlice) {
            merged.Add(mineSlice);
        } else if (!mineChanged) {
            merged.Add(theirsSlice);
        } else {
            merged.AddConflict(labels, mineSlice, {base, first, end}, theirsSlice);
        }
        done = end;
    }
    merged.Add({base, done, base.size()});
    return merged.Finish();
}

}  // namespace kx::update
