// Differences between two texts, line by line, for bringing template changes
// into a project the user has edited. Pure and byte-transparent: texts are
// GBK or UTF-8 bytes and are never decoded; a line ends at '\n', which is
// never a byte of a GBK double-byte character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kx::update {

// The lines of text, each with its own line end ("\n" or "\r\n"), so joining
// them gives the text back; a last line without a line end is a line too.
// Lines are compared byte for byte: "a\r\n" and "a\n" differ.
std::vector<std::string_view> SplitLines(std::string_view text);

// Old lines [oldFirst, oldFirst + oldCount) become new lines
// [newFirst, newFirst + newCount); 0-based. One of the counts may be 0.
struct LineChange {
    std::size_t oldFirst;
    std::size_t oldCount;
    std::size_t newFirst;
    std::size_t newCount;

    std::size_t OldEnd() const { return oldFirst + oldCount; }
    std::size_t NewEnd() const { return newFirst + newCount; }
    bool operator==(const LineChange& other) const;
};

// A shortest edit script from oldLines to newLines, as changes in order with
// at least one equal line between two of them. Where several shortest
// scripts exist, a run of inserted or deleted lines that could sit higher or
// lower sits as low as it can, unless a higher place makes it part of a
// replacement; that is what other line diffs choose too, so their output and
// ours agree on the usual edits.
//
// Memory is linear in the number of lines. Time is O((N + M) * D) for D
// changed lines; past a cost bound that grows with the square root of the
// size the script may be longer than the shortest, so that two large,
// entirely different texts still take time near-linear in their size.
std::vector<LineChange> DiffLines(const std::vector<std::string_view>& oldLines,
                                  const std::vector<std::string_view>& newLines);

// The usual unified diff: "--- oldLabel", "+++ newLabel", then hunks
// "@@ -l,n +l,n @@" with `context` equal lines around each change (hunks
// closer than twice that are joined), "-", "+" and " " lines, and
// "\ No newline at end of file" after a line that has no line end. Each line
// is written with its own line end. Equal texts give an empty string.
std::string UnifiedDiff(std::string_view oldText, std::string_view newText, std::string_view oldLabel,
                        std::string_view newLabel, std::size_t context = 3);

}  // namespace kx::update
