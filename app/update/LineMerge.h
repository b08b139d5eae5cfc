// Three-way merge over lines: the text kxgen wrote last time (base), the
// user's file (mine) and what the templates give now (theirs). Pure and
// byte-transparent like LineDiff: GBK or UTF-8 bytes, never decoded.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kx::update {

// Names written after the conflict marks.
struct MergeLabels {
    std::string mine;
    std::string base;
    std::string theirs;
};

// Where a conflict stands in the merged text: 1-based lines of its
// "<<<<<<<" and ">>>>>>>" marks.
struct ConflictRegion {
    std::size_t firstLine;
    std::size_t lastLine;
};

struct MergeResult {
    std::string text;
    std::vector<ConflictRegion> conflicts;  // in order; none when clean
    bool Clean() const { return conflicts.empty(); }
};

// Merges line by line. Base is diffed against mine and against theirs
// (DiffLines); each change covers a range of base lines, an insertion an
// empty range between two lines. Changes of the two sides that overlap or
// touch in base form one region, and so does any chain of such changes:
// changing line 5 on one side and line 6 on the other, or inserting right
// after a line the other side changed, is one region, as `git merge-file`
// and `diff3` also see it. Far changes, with at least one line unchanged on
// both sides between them, are separate regions. Per region:
//   - changed on one side only: that side's lines;
//   - changed on both sides to the same lines: those lines, once;
//   - otherwise a conflict:
//         <<<<<<< mine-label      (the label and its space left out when empty)
//         mine's lines
//         ||||||| base-label
//         base's lines
//         =======
//         theirs' lines
//         >>>>>>> theirs-label
// The marks end in CR LF when the first line of base (or, for an empty
// base, of mine, else of theirs) does, and in LF otherwise. A side's last
// line inside a conflict that has no line end gets that line end (or only
// LF after a CR) before the next mark. All other bytes are the sides' own.
MergeResult MergeLines(std::string_view base, std::string_view mine, std::string_view theirs,
                       const MergeLabels& labels);

}  // namespace kx::update
