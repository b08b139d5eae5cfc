// The line merge and the unified diff against line tools nobody here wrote,
// on seeded random edits of the real templates and of short, repetitive
// lines: `git merge-file --diff3` and GNU `diff3 -m -E` for the merge, GNU
// `diff -u` and `patch` for the diff.
//
// KX_MERGE_ORACLE_CASES sets the number of cases per tool (300 by default;
// a long run takes 100000 or more), KX_MERGE_ORACLE_SEED the first seed.
//
// Two differences are ours by design and are set aside, counted: the marks'
// line end (ours from base's first line, git's from the lines around each
// conflict, diff3's always LF), and a region both sides turned into the same
// lines by different edits (we take the lines once, the tools see a
// conflict). Where an outcome still differs, the tool's own two-way diffs
// (git diff, GNU diff) of base to mine and base to theirs are compared with
// ours. The same diffs with a different merge are a real difference and fail
// the test; so is a diff of ours longer than the tool's. Different diffs of
// the same length are equally valid alignments: counted, reported, and held
// under a bound, since DiffLines promises the alignment other line diffs
// choose on usual edits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "posix/RandomEdits.h"
#include "posix/RunProgram.h"
#include "posix/ScopedEnvironment.h"
#include "support/TempFolder.h"
#include "update/LineDiff.h"
#include "update/LineMerge.h"

namespace kx::update {
namespace {

using test::Installed;
using test::ProgramRun;
using test::RandomEdits;
using test::RunProgram;
using Texts = test::ThreeTexts;

std::size_t CaseCount() {
    const char* text = std::getenv("KX_MERGE_ORACLE_CASES");
    return text ? std::strtoul(text, nullptr, 10) : 300;
}

std::uint32_t FirstSeed() {
    const char* text = std::getenv("KX_MERGE_ORACLE_SEED");
    return text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : 20260101;
}

// A merge output read back: text outside conflicts, and each conflict's
// sections (base empty for diff3 -E, which leaves it out).
struct Conflict {
    std::string mine, base, theirs;
};
struct ReadMerge {
    std::vector<std::string> clean;  // clean[i] stands before conflicts[i]; one more at the end
    std::vector<Conflict> conflicts;
};

const MergeLabels kLabels{"mine", "base", "theirs"};

bool IsMark(std::string_view line, std::string_view mark) {
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n") line.remove_suffix(2);
    else if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line == mark;
}

ReadMerge Read(const std::string& text) {
    ReadMerge read{{""}, {}};
    std::string* into = &read.clean.back();
    bool inConflict = false;
    for (std::string_view line : SplitLines(text)) {
        if (IsMark(line, "<<<<<<< " + kLabels.mine)) {
            read.conflicts.emplace_back();
            into = &read.conflicts.back().mine;
            inConflict = true;
        } else if (inConflict && IsMark(line, "||||||| " + kLabels.base)) {
            into = &read.conflicts.back().base;
        } else if (inConflict && IsMark(line, "=======")) {
            into = &read.conflicts.back().theirs;
        } else if (inConflict && IsMark(line, ">>>>>>> " + kLabels.theirs)) {
            read.clean.emplace_back();
            into = &read.clean.back();
            inConflict = false;
        } else {
            *into += line;
        }
    }
    return read;
}

// A section equals the tool's, or differs only in the line end both added
// after the side's last line, which had none: we take that line end from
// base's first line, git from the lines around the conflict.
bool SameSection(const std::string& ours, const std::string& tool, const std::string& side) {
    if (ours == tool) return true;
    auto withoutLineEnd = [](std::string text) {
        if (!text.empty() && text.back() == '\n') text.pop_back();
        if (!text.empty() && text.back() == '\r') text.pop_back();
        return text;
    };
    const std::string stripped = withoutLineEnd(ours);
    return !side.empty() && side.back() != '\n' && stripped == withoutLineEnd(tool) &&
           side.size() >= stripped.size() &&
           side.compare(side.size() - stripped.size(), stripped.size(), stripped) == 0;
}

bool SameMerge(const ReadMerge& ours, const ReadMerge& tool, const std::string& mine, const std::string& base,
               const std::string& theirs, bool compareBase) {
    if (ours.clean != tool.clean || ours.conflicts.size() != tool.conflicts.size()) return false;
    for (std::size_t i = 0; i < ours.conflicts.size(); ++i) {
        const Conflict& a = ours.conflicts[i];
        const Conflict& b = tool.conflicts[i];
        if (!SameSection(a.mine, b.mine, mine) || !SameSection(a.theirs, b.theirs, theirs) ||
            (compareBase && !SameSection(a.base, b.base, base))) {
            return false;
        }
    }
    return true;
}

// A conflict whose mine and theirs sides hold the same lines: both sides
// reached those lines by different edits. The tools compare the edits and
// call it a conflict; we compare the lines and take them once.
bool FoldAlikeConflicts(ReadMerge& read) {
    bool folded = false;
    for (std::size_t i = read.conflicts.size(); i-- > 0;) {
        if (read.conflicts[i].mine != read.conflicts[i].theirs) continue;
        read.clean[i] += read.conflicts[i].mine + read.clean[i + 1];
        read.clean.erase(read.clean.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        read.conflicts.erase(read.conflicts.begin() + static_cast<std::ptrdiff_t>(i));
        folded = true;
    }
    return folded;
}

// The merged text with every conflict settled for one side.
std::string Resolve(const ReadMerge& read, bool mine) {
    std::string text = read.clean[0];
    for (std::size_t i = 0; i < read.conflicts.size(); ++i) {
        text += (mine ? read.conflicts[i].mine : read.conflicts[i].theirs) + read.clean[i + 1];
    }
    return text;
}

// Changes from a -U0 unified diff's hunk headers ("@@ -l,n +l,n @@", ",n"
// left out for one line; an empty range names the line before it).
std::vector<LineChange> ChangesOfUnifiedDiff(const std::string& diff) {
    auto range = [](const char*& at, std::size_t& first, std::size_t& count) {
        char* end = nullptr;
        const std::size_t line = std::strtoul(at + 1, &end, 10);
        count = *end == ',' ? std::strtoul(end + 1, &end, 10) : 1;
        first = count ? line - 1 : line;
        at = end + 1;
    };
    std::vector<LineChange> changes;
    for (std::string_view line : SplitLines(diff)) {
        if (line.substr(0, 4) != "@@ -") continue;
        const std::string header(line);
        const char* at = header.c_str() + 3;
        LineChange change{};
        range(at, change.oldFirst, change.oldCount);
        range(at, change.newFirst, change.newCount);
        changes.push_back(change);
    }
    return changes;
}

std::size_t Cost(const std::vector<LineChange>& changes) {
    std::size_t cost = 0;
    for (const LineChange& change : changes) cost += change.oldCount + change.newCount;
    return cost;
}

std::string Describe(const std::string& base, const std::string& mine, const std::string& theirs) {
    return "base " + test::Hex(base) + "\nmine " + test::Hex(mine) + "\ntheirs " + test::Hex(theirs);
}

// How a tool's merge compares with ours, for one case.
enum class Verdict {
    Identical,
    MarkLineEnds,    // the same but for line ends of marks and the ones both add
    AlikeTakenOnce,  // the tool's extra conflicts have the same lines on both sides
    NotReadBack,     // both conflict, but diff3's marks stick to a last line
    Different,
};

Verdict Classify(const MergeResult& ours, const ProgramRun& tool, bool git, const Texts& texts) {
    const bool toolClean = tool.exitCode == 0;
    if (ours.Clean() == toolClean && ours.text == tool.out) return Verdict::Identical;
    // diff3 writes a mark right behind a last line without line end, so its
    // conflicts over such texts cannot be read back into sections.
    const bool noLastLineEnd = [&] {
        for (const std::string* text : {&texts.base, &texts.mine, &texts.theirs}) {
            if (!text->empty() && text->back() != '\n') return true;
        }
        return false;
    }();
    if (!git && !toolClean && !ours.Clean() && noLastLineEnd) return Verdict::NotReadBack;
    const ReadMerge ourRead = Read(ours.text);
    ReadMerge toolRead = Read(tool.out);
    if (ours.Clean() == toolClean && SameMerge(ourRead, toolRead, texts.mine, texts.base, texts.theirs, git)) {
        return Verdict::MarkLineEnds;
    }
    if (FoldAlikeConflicts(toolRead) && SameMerge(ourRead, toolRead, texts.mine, texts.base, texts.theirs, git)) {
        return Verdict::AlikeTakenOnce;
    }
    return Verdict::Different;
}

bool SameResolutions(const MergeResult& ours, const ProgramRun& tool) {
    const ReadMerge ourRead = Read(ours.text);
    const ReadMerge toolRead = Read(tool.out);
    return Resolve(ourRead, true) == Resolve(toolRead, true) && Resolve(ourRead, false) == Resolve(toolRead, false);
}

class MergeOracle : public ::testing::Test {
protected:
    void SetUp() override {
        env_.Set("LC_ALL", "C");
        env_.Set("GIT_CONFIG_NOSYSTEM", "1");
        env_.Set("GIT_CONFIG_GLOBAL", "/dev/null");
        basePath_ = folder_.Child("base");
        minePath_ = folder_.Child("mine");
        theirsPath_ = folder_.Child("theirs");
    }

    void Write(const std::string& base, const std::string& mine, const std::string& theirs) {
        ASSERT_TRUE(test::WriteFileBytes(basePath_, base) && test::WriteFileBytes(minePath_, mine) &&
                    test::WriteFileBytes(theirsPath_, theirs));
    }

    ProgramRun Merge(bool git) {
        if (git) {
            return RunProgram({"git", "merge-file", "-p", "--diff3", "-L", kLabels.mine, "-L", kLabels.base, "-L",
                               kLabels.theirs, minePath_, basePath_, theirsPath_});
        }
        return RunProgram({"diff3", "-m", "-E", "-L", kLabels.mine, "-L", kLabels.base, "-L", kLabels.theirs,
                           minePath_, basePath_, theirsPath_});
    }

    // A two-way diff of two of the files by git (as git merge-file aligns)
    // or GNU diff, as changes.
    // GNU diff keeps `horizon` lines of the common start and end in play, as
    // many as the context of the diff it prints, so its choice can depend on it.
    std::vector<LineChange> ToolDiff(bool git, const std::string& from, const std::string& to,
                                     std::size_t horizon = 0) {
        if (git) {
            return ChangesOfUnifiedDiff(RunProgram({"git", "diff", "--no-index", "--no-color", "--no-ext-diff", "-a",
                                                    "--no-indent-heuristic", "--diff-algorithm=myers", "-U0", from,
                                                    to})
                                            .out);
        }
        return ChangesOfUnifiedDiff(
            RunProgram({"diff", "-a", "-U0", "--horizon-lines=" + std::to_string(horizon), from, to}).out);
    }

    // Our merge differs from every oracle: a real difference unless our
    // diffs differ from the tool's and are no longer.
    bool IsOtherAlignment(bool git, const Texts& texts) {
        const auto ourMine = DiffLines(SplitLines(texts.base), SplitLines(texts.mine));
        const auto ourTheirs = DiffLines(SplitLines(texts.base), SplitLines(texts.theirs));
        const auto toolMine = ToolDiff(git, basePath_, minePath_);
        const auto toolTheirs = ToolDiff(git, basePath_, theirsPath_);
        const std::string what = Describe(texts.base, texts.mine, texts.theirs);
        EXPECT_LE(Cost(ourMine), Cost(toolMine)) << "our diff of base to mine is longer\n" << what;
        EXPECT_LE(Cost(ourTheirs), Cost(toolTheirs)) << "our diff of base to theirs is longer\n" << what;
        if (ourMine != toolMine || ourTheirs != toolTheirs) return true;
        ADD_FAILURE() << (git ? "git merge-file" : "diff3") << " merges the same diffs otherwise\n" << what;
        return false;
    }

    // git merge-file alone, or diff3 with git as the second opinion: diff3
    // aligns by its own rules (it can take a longer two-way script than GNU
    // diff prints, and it can widen a conflict over a neighbouring change
    // both sides made alike), so a case where we agree with git and only
    // diff3 differs is counted as diff3's own.
    void Compare(bool git) {
        const bool gitToo = git || Installed("git");
        std::size_t verdicts[5] = {};
        std::size_t conflicts = 0, diff3Alone = 0, diff3AloneSameResolutions = 0, alignments = 0;
        RandomEdits edits(FirstSeed());
        ASSERT_TRUE(edits.HaveTemplates()) << "the templates cannot be read";
        std::size_t cases = 0;
        for (; cases < CaseCount() && !HasFailure(); ++cases) {
            const Texts texts = edits.Next();
            Write(texts.base, texts.mine, texts.theirs);
            const MergeResult ours = MergeLines(texts.base, texts.mine, texts.theirs, kLabels);
            conflicts += ours.Clean() ? 0 : 1;
            const ProgramRun tool = Merge(git);
            ASSERT_LE(tool.exitCode, git ? 127 : 1) << "the tool failed\n"
                                                    << Describe(texts.base, texts.mine, texts.theirs);
            Verdict verdict = Classify(ours, tool, git, texts);
            if (verdict == Verdict::Different && !git && gitToo &&
                Classify(ours, Merge(true), true, texts) != Verdict::Different) {
                ++diff3Alone;
                diff3AloneSameResolutions += !ours.Clean() && tool.exitCode != 0 && SameResolutions(ours, tool);
                continue;
            }
            if (verdict == Verdict::Different) alignments += IsOtherAlignment(gitToo, texts);
            ++verdicts[static_cast<int>(verdict)];
        }
        std::printf("%s: %zu cases (%zu with conflicts): %zu identical, %zu the same but for line ends of marks, "
                    "%zu where both sides reached the same lines (taken once by us, a conflict there), "
                    "%zu conflicts not read back, %zu other alignments of equal length",
                    git ? "git merge-file --diff3" : "diff3 -m -E", cases, conflicts,
                    verdicts[static_cast<int>(Verdict::Identical)], verdicts[static_cast<int>(Verdict::MarkLineEnds)],
                    verdicts[static_cast<int>(Verdict::AlikeTakenOnce)],
                    verdicts[static_cast<int>(Verdict::NotReadBack)], alignments);
        if (!git) {
            std::printf(", %zu where git and we agree and diff3 differs (%zu with the same resolutions)", diff3Alone,
                        diff3AloneSameResolutions);
        }
        std::printf("\n");
        // DiffLines aligns like the usual line diffs; a change there shows up
        // here as a flood of other, equally short alignments.
        EXPECT_LE(alignments * 100, cases * kAlignmentPercent);
    }

    static constexpr std::size_t kAlignmentPercent = 1;
    test::ScopedEnvironment env_;
    test::TempFolder folder_;
    std::string basePath_, minePath_, theirsPath_;
};

TEST_F(MergeOracle, AgreesWithGitMergeFile) {
    if (!Installed("git")) GTEST_SKIP() << "git is not installed: the merge has no oracle here";
    Compare(true);
}

TEST_F(MergeOracle, AgreesWithDiff3) {
    if (!Installed("diff3") || !Installed("diff")) GTEST_SKIP() << "GNU diff3 is not installed (apt package diffutils)";
    Compare(false);
}

// Our unified diff against GNU diff -u: byte for byte where both chose the
// same script; otherwise ours must be no longer and `patch` must turn the old
// text into the new one with it.
TEST_F(MergeOracle, UnifiedDiffAgreesWithGnuDiffAndPatch) {
    if (!Installed("diff") || !Installed("patch")) GTEST_SKIP() << "GNU diff or patch is not installed";
    RandomEdits edits(FirstSeed());
    ASSERT_TRUE(edits.HaveTemplates()) << "the templates cannot be read";
    const std::string patchPath = folder_.Child("patch");
    const std::string outPath = folder_.Child("out");
    std::size_t identical = 0, otherScripts = 0;
    const std::size_t cases = CaseCount();
    for (std::size_t i = 0; i < cases && !HasFailure(); ++i) {
        const auto [base, mine, theirs] = edits.Next();
        Write(base, mine, theirs);
        const std::size_t context = i % 4;
        const std::string ours = UnifiedDiff(base, mine, "a/demo.kx", "b/demo.kx", context);
        const ProgramRun gnu = RunProgram({"diff", "-a", "-U" + std::to_string(context), "--label", "a/demo.kx",
                                           "--label", "b/demo.kx", basePath_, minePath_});
        ASSERT_EQ(gnu.exitCode, base == mine ? 0 : 1);
        if (ours == gnu.out) {
            ++identical;
            continue;
        }
        const auto ourChanges = DiffLines(SplitLines(base), SplitLines(mine));
        const auto gnuChanges = ToolDiff(false, basePath_, minePath_, context);
        ASSERT_NE(ourChanges, gnuChanges) << "same script, other text:\n" << ours << "\n" << gnu.out;
        ASSERT_LE(Cost(ourChanges), Cost(gnuChanges)) << Describe(base, mine, "");
        ASSERT_TRUE(test::WriteFileBytes(patchPath, ours));
        ASSERT_EQ(RunProgram({"patch", "--binary", "-s", "-o", outPath, "-i", patchPath, basePath_}).exitCode, 0)
            << ours;
        ASSERT_EQ(test::ReadFileBytes(outPath).value_or("unreadable"), mine) << ours;
        ++otherScripts;
    }
    std::printf("diff -u: %zu cases: %zu identical, %zu other scripts of equal length that patch applies\n", cases,
                identical, otherScripts);
    EXPECT_LE(otherScripts * 100, cases * kAlignmentPercent);
}

}  // namespace
}  // namespace kx::update
