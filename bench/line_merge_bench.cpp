// The line merge on a 10 MB, 200,000-line template with a few edits on each
// side (goal: well under a second), and the diff of two 10 MB texts made of
// the same few lines in different orders, the costliest input for a shortest
// edit script: the cost bound must keep it near-linear. peak_rss_mb is the
// process's peak so far, for memory that grows with the square of the size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <random>
#include <string>
#include <vector>

#include "update/LineDiff.h"
#include "update/LineMerge.h"

namespace {

using kx::update::MergeLines;

constexpr std::size_t kLines = 200'000;

// Script-like GBK lines, most of them distinct, some repeated as in real code.
std::vector<std::string> TemplateLines() {
    const std::string key = "\xB0\xB4\xBC\xFC";  // GBK for "key"
    std::vector<std::string> lines;
    lines.reserve(kLines);
    for (std::size_t i = 0; i < kLines; ++i) {
        if (i % 7 == 0) {
            lines.push_back("\r\n");
        } else if (i % 11 == 0) {
            lines.push_back("    end\r\n");
        } else {
            lines.push_back("    var " + key + std::to_string(i) + " = GetPoint(\"" + key + "\", x, y) // " +
                            key + key + " point\r\n");
        }
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line;
    return text;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_MergeTenMegabyteTemplate(benchmark::State& state) {
    const std::vector<std::string> base = TemplateLines();
    std::vector<std::string> mine = base;
    std::vector<std::string> theirs = base;
    for (std::size_t at : {kLines / 10, kLines * 4 / 10, kLines * 7 / 10}) mine[at + 1] = "// mine\r\n";
    for (std::size_t at : {kLines * 2 / 10, kLines * 6 / 10, kLines * 9 / 10}) theirs[at + 1] = "// theirs\r\n";
    mine[kLines * 8 / 10 + 1] = "// both, mine\r\n";
    theirs[kLines * 8 / 10 + 1] = "// both, theirs\r\n";
    mine.insert(mine.begin() + kLines / 2, 20, "// a block of the user's own\r\n");
    theirs.erase(theirs.begin() + kLines * 3 / 10, theirs.begin() + kLines * 3 / 10 + 10);
    const std::string baseText = Join(base), mineText = Join(mine), theirsText = Join(theirs);
    for (auto _ : state) {
        const auto merged = MergeLines(baseText, mineText, theirsText, {"mine", "base", "theirs"});
        if (merged.conflicts.size() != 1) state.SkipWithError("expected one conflict");
        benchmark::DoNotOptimize(merged.text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * baseText.size()));
    state.counters["base_mb"] = static_cast<double>(baseText.size()) / 1e6;
    state.counters["peak_rss_mb"] = PeakMegabytes();
}
BENCHMARK(BM_MergeTenMegabyteTemplate)->Unit(benchmark::kMillisecond);

void BM_DiffTenMegabytesOfShuffledLines(benchmark::State& state) {
    std::vector<std::string> vocabulary;
    for (int i = 0; i < 32; ++i) {
        vocabulary.push_back(std::string(48, static_cast<char>('a' + i % 26)) + std::to_string(i) + "\n");
    }
    std::mt19937 random(7);
    std::vector<std::string> a(kLines), b(kLines);
    for (std::string& line : a) line = vocabulary[random() % vocabulary.size()];
    for (std::string& line : b) line = vocabulary[random() % vocabulary.size()];
    const std::string oldText = Join(a), newText = Join(b);
    const auto oldLines = kx::update::SplitLines(oldText), newLines = kx::update::SplitLines(newText);
    for (auto _ : state) benchmark::DoNotOptimize(kx::update::DiffLines(oldLines, newLines).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * (oldText.size() + newText.size())));
    state.counters["peak_rss_mb"] = PeakMegabytes();
}
BENCHMARK(BM_DiffTenMegabytesOfShuffledLines)->Unit(benchmark::kMillisecond);

}  // namespace
