// One project text file through the three-way merge (LineMerge.h), in the
// file's own encoding: the byte-order mark and, for the window file, UTF-16LE
// are taken off before the merge and put back after it, so that the merge
// sees lines and the file comes back byte for byte where nothing changed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ProjectFileSet.h"
#include "update/LineMerge.h"

namespace kx::update {

// The text a merge works on: UTF-8 files without their byte-order mark;
// UTF-16LE files (which must start with FF FE and have whole units) with each
// unit written as UTF-8 by itself, a reversible form in which a line still
// ends at '\n'. Nothing when bytes are not in the encoding.
struct MergeText {
    std::string text;
    bool byteOrderMark = false;
};
bool DecodeForMerge(std::string_view bytes, TextEncoding encoding, MergeText& out);
// The file's bytes again; a byte-order mark when asked (always for UTF-16LE).
std::string EncodeAfterMerge(const MergeText& text, TextEncoding encoding);

enum class MergeVerdict {
    Clean,        // bytes is the merged file
    Conflict,     // bytes is the merged file with conflict marks
    Undecodable,  // mine is not in the file's encoding: nothing merged
};

struct FileMergeResult {
    MergeVerdict verdict = MergeVerdict::Clean;
    std::string bytes;          // in mine's encoding, byte-order mark and line ends
    std::size_t conflicts = 0;  // regions marked
    // Mine has other line ends than base (LF where the templates have CR LF,
    // or the other way round): base and theirs were merged with mine's.
    bool lineEndsAsMine = false;
    std::string mineText;    // mine and the result as merged, for a unified diff
    std::string resultText;
};

// base and theirs are files as the generator writes them; base may be empty
// (nothing was generated there before). Line ends: when every line end of
// mine is LF, or every one is CR LF, and base or theirs has the other kind,
// both are given mine's first, so that an editor that changed every line end
// does not turn the whole file into one conflict; mixed line ends in mine are
// merged as they are.
FileMergeResult MergeFile(std::string_view base, std::string_view mine, std::string_view theirs, TextEncoding encoding,
                          const MergeLabels& labels);

}  // namespace kx::update
