// The line diff and three-way merge behind "update a project in place":
// one table per concern, expected bytes written out in full. The unified
// diffs below are what GNU diff -u prints for the same texts, the merges what
// git merge-file --diff3 prints, but for the line end of the marks, which we
// take from the first line of base (of mine when base is empty).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/TempFolder.h"
#include "update/LineDiff.h"
#include "update/LineMerge.h"

namespace kx::update {
namespace {

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string_view> lines;
};

TEST(LineDiff, SplitsAfterEachLineFeedOnly) {
    const SplitCase cases[] = {
        {"empty", "", {}},
        {"last line without line end", "a\nb", {"a\n", "b"}},
        {"CR LF and LF kept as they are", "a\r\nb\n", {"a\r\n", "b\n"}},
        {"a lone CR ends no line", "a\rb\n", {"a\rb\n"}},
        {"empty lines", "\n\r\n", {"\n", "\r\n"}},
        {"GBK trail bytes 5C and 7C", "\x81\x5C\n\x81\x7C", {"\x81\x5C\n", "\x81\x7C"}},
    };
    for (const SplitCase& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.name;
}

struct DiffCase {
    const char* name;
    std::string oldText;
    std::string newText;
    std::size_t context;
    std::string diff;
};

TEST(LineDiff, WritesTheUnifiedDiffGnuDiffWrites) {
    const std::string seven = "1\n2\n3\n4\n5\n6\n7\n";
    const DiffCase cases[] = {
        {"equal texts", seven, seven, 3, ""},
        {"one line replaced, context clipped at the start", seven, "1\nX\n3\n4\n5\n6\n7\n", 3,
         "--- a\n+++ b\n@@ -1,5 +1,5 @@\n 1\n-2\n+X\n 3\n 4\n 5\n"},
        {"changes 2 * context apart share a hunk", "1\n2\n3\n4\n5\n6\n7\n8\n", "X\n2\n3\n4\n5\nY\n7\n8\n", 2,
         "--- a\n+++ b\n@@ -1,8 +1,8 @@\n-1\n+X\n 2\n 3\n 4\n 5\n-6\n+Y\n 7\n 8\n"},
        {"one more line apart: two hunks", "1\n2\n3\n4\n5\n6\n7\n8\n", "X\n2\n3\n4\n5\n6\nY\n8\n", 2,
         "--- a\n+++ b\n@@ -1,3 +1,3 @@\n-1\n+X\n 2\n 3\n@@ -5,4 +5,4 @@\n 5\n 6\n-7\n+Y\n 8\n"},
        {"insertion without context names the line before", "1\n2\n", "1\nX\nY\n2\n", 0,
         "--- a\n+++ b\n@@ -1,0 +2,2 @@\n+X\n+Y\n"},
        {"deletion of the first line without context", "1\n2\n", "2\n", 0, "--- a\n+++ b\n@@ -1 +0,0 @@\n-1\n"},
        {"from an empty text", "", "a\n", 3, "--- a\n+++ b\n@@ -0,0 +1 @@\n+a\n"},
        {"the last line gets its line end", "a\nb", "a\nb\n", 3,
         "--- a\n+++ b\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"},
        {"unchanged last line without line end as context", "a\nb\nc", "x\nb\nc", 3,
         "--- a\n+++ b\n@@ -1,3 +1,3 @@\n-a\n+x\n b\n c\n\\ No newline at end of file\n"},
        {"CR LF against LF, bytes as they are", "a\r\nb\r\n", "a\nb\r\n", 3,
         "--- a\n+++ b\n@@ -1,2 +1,2 @@\n-a\r\n+a\n b\r\n"},
        {"an inserted copy of a line sits as low as it can", "a\nb\nc\n", "a\nb\nb\nc\n", 0,
         "--- a\n+++ b\n@@ -2,0 +3 @@\n+b\n"},
    };
    for (const DiffCase& c : cases) EXPECT_EQ(UnifiedDiff(c.oldText, c.newText, "a", "b", c.context), c.diff) << c.name;
}

// Two texts of the same four lines in other orders: the shortest script is
// thousands of lines long, past the search's cost bound, where the script
// must still turn the old text into the new one.
TEST(LineDiff, AScriptPastTheCostBoundStillTurnsOldIntoNew) {
    const std::string_view vocabulary[] = {"a\r\n", "b\r\n", "}\r\n", "\r\n"};
    std::vector<std::string_view> oldLines, newLines;
    for (std::size_t i = 0; i < 6000; ++i) {
        oldLines.push_back(vocabulary[(i * i + i / 7) % 4]);
        newLines.push_back(vocabulary[(i * 31 + i / 3) % 4]);
    }
    std::vector<std::string_view> rebuilt;
    std::size_t at = 0;
    std::size_t changed = 0;
    for (const LineChange& change : DiffLines(oldLines, newLines)) {
        ASSERT_GE(change.oldFirst, at);
        rebuilt.insert(rebuilt.end(), oldLines.begin() + at, oldLines.begin() + change.oldFirst);
        rebuilt.insert(rebuilt.end(), newLines.begin() + change.newFirst, newLines.begin() + change.NewEnd());
        at = change.OldEnd();
        changed += change.oldCount + change.newCount;
    }
    rebuilt.insert(rebuilt.end(), oldLines.begin() + at, oldLines.end());
    EXPECT_EQ(rebuilt, newLines);
    EXPECT_GT(changed, 2 * 1024u) << "the texts no longer reach the cost bound";
}

struct MergeCase {
    const char* name;
    std::string base;
    std::string mine;
    std::string theirs;
    std::string merged;
    std::vector<std::pair<std::size_t, std::size_t>> conflictLines;  // marks' lines; none when clean
};

// Every edit pair of the kinds an update meets. Base has seven lines a..g.
TEST(LineMerge, MergesEachKindOfEditPair) {
    const std::string base = "a\nb\nc\nd\ne\nf\ng\n";
    const std::string gbk = "\x81\x5C\r\n\x81\x7C\r\nend\r\n";  // 乗 and a 7C trail, CR LF as kxgen writes
    const MergeCase cases[] = {
        {"no edits", base, base, base, base, {}},
        {"mine alone", base, "a\nB\nc\nd\ne\nf\ng\n", base, "a\nB\nc\nd\ne\nf\ng\n", {}},
        {"theirs alone", base, base, "a\nb\nc\nd\ne\nF\ng\n", "a\nb\nc\nd\ne\nF\ng\n", {}},
        {"same region, same lines", base, "a\nb\nX\nd\ne\nf\ng\n", "a\nb\nX\nd\ne\nf\ng\n",
         "a\nb\nX\nd\ne\nf\ng\n", {}},
        {"same region, other lines", base, "a\nb\nX\nd\ne\nf\ng\n", "a\nb\nY\nd\ne\nf\ng\n",
         "a\nb\n<<<<<<< mine\nX\n||||||| base\nc\n=======\nY\n>>>>>>> theirs\nd\ne\nf\ng\n", {{3, 9}}},
        {"neighbouring lines are one region", base, "a\nb\nX\nd\ne\nf\ng\n", "a\nb\nc\nY\ne\nf\ng\n",
         "a\nb\n<<<<<<< mine\nX\nd\n||||||| base\nc\nd\n=======\nc\nY\n>>>>>>> theirs\ne\nf\ng\n", {{3, 12}}},
        {"insertion right after a line the other side changed", base, "a\nb\nX\nd\ne\nf\ng\n",
         "a\nb\nc\nnew\nd\ne\nf\ng\n",
         "a\nb\n<<<<<<< mine\nX\n||||||| base\nc\n=======\nc\nnew\n>>>>>>> theirs\nd\ne\nf\ng\n", {{3, 10}}},
        {"one unchanged line between: far regions", base, "a\nX\nc\nd\ne\nf\ng\n", "a\nb\nc\nY\ne\nf\ng\n",
         "a\nX\nc\nY\ne\nf\ng\n", {}},
        {"mine deletes what theirs edits", base, "a\nb\ne\nf\ng\n", "a\nb\nc\nY\ne\nf\ng\n",
         "a\nb\n<<<<<<< mine\n||||||| base\nc\nd\n=======\nc\nY\n>>>>>>> theirs\ne\nf\ng\n", {{3, 10}}},
        {"both add other lines at the end", base, base + "h\n", base + "i\n",
         base + "<<<<<<< mine\nh\n||||||| base\n=======\ni\n>>>>>>> theirs\n", {{8, 13}}},
        {"both add the same lines at the end", base, base + "h\n", base + "h\n", base + "h\n", {}},
        {"two conflicts, numbered in the merged text", base, "a\nb\nX\nd\ne\nf\nZ\n", "a\nb\nY\nd\ne\nf\nW\n",
         "a\nb\n<<<<<<< mine\nX\n||||||| base\nc\n=======\nY\n>>>>>>> theirs\nd\ne\nf\n"
         "<<<<<<< mine\nZ\n||||||| base\ng\n=======\nW\n>>>>>>> theirs\n",
         {{3, 9}, {13, 19}}},
        {"one line's end turned CR LF on one side", base, "a\nb\nc\r\nd\ne\nf\ng\n", "a\nb\nc\nd\ne\nF\ng\n",
         "a\nb\nc\r\nd\ne\nF\ng\n", {}},
        {"every line turned CR LF on one side", base, "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n", base,
         "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n", {}},
        {"every line turned CR LF against an edit", "a\nb\n", "a\r\nb\r\n", "a\nB\n",
         "<<<<<<< mine\na\r\nb\r\n||||||| base\na\nb\n=======\na\nB\n>>>>>>> theirs\n", {{1, 10}}},
        {"the last line gets its line end on one side", "a\nb\nc", "X\nb\nc", "a\nb\nc\n", "X\nb\nc\n", {}},
        {"a last line without line end in a conflict", "a\nb\n", "a\nB", "a\nC\n",
         "a\n<<<<<<< mine\nB\n||||||| base\nb\n=======\nC\n>>>>>>> theirs\n", {{2, 8}}},
        {"GBK trail bytes at the edges of far changes", gbk, "\x81\x5C\x81\x5C\r\n\x81\x7C\r\nend\r\n",
         "\x81\x5C\r\n\x81\x7C\r\nEND\r\n", "\x81\x5C\x81\x5C\r\n\x81\x7C\r\nEND\r\n", {}},
        {"GBK last line without line end in a CR LF conflict", gbk, "\x81\x5C\r\n\x81\x7C\r\n\x81\x7C",
         "\x81\x5C\r\n\x81\x7C\r\n\x81\x5C\r\n",
         "\x81\x5C\r\n\x81\x7C\r\n<<<<<<< mine\r\n\x81\x7C\r\n||||||| base\r\nend\r\n=======\r\n\x81\x5C\r\n"
         ">>>>>>> theirs\r\n",
         {{3, 9}}},
        {"both create the file alike", "", "a\n", "a\n", "a\n", {}},
        {"both create it otherwise, marks from mine's line end", "", "a\r\n", "b\n",
         "<<<<<<< mine\r\na\r\n||||||| base\r\n=======\r\nb\n>>>>>>> theirs\r\n", {{1, 6}}},
    };
    for (const MergeCase& c : cases) {
        const MergeResult result = MergeLines(c.base, c.mine, c.theirs, {"mine", "base", "theirs"});
        EXPECT_EQ(result.text, c.merged) << c.name << "\n" << test::Hex(result.text);
        std::vector<std::pair<std::size_t, std::size_t>> lines;
        for (const ConflictRegion& region : result.conflicts) lines.emplace_back(region.firstLine, region.lastLine);
        EXPECT_EQ(lines, c.conflictLines) << c.name;
        EXPECT_EQ(result.Clean(), c.conflictLines.empty()) << c.name;
    }
}

}  // namespace
}  // namespace kx::update
