// Placeholder replacement over large texts: it must stay linear, so a 10 MB
// text with 100,000 placeholders takes milliseconds.
#include <benchmark/benchmark.h>

#include <string>

#include "ReplaceAll.h"

namespace {

// Chinese text (two-byte characters) with a placeholder every so often.
std::string TemplateText(std::size_t bytes, std::size_t placeholders) {
    const std::string filler = "\xD6\xD0\xCE\xC4 text\r\n";
    const std::string placeholder = "$ProjectName$";
    std::string text;
    text.reserve(bytes + placeholder.size());
    const std::size_t gap = bytes / (placeholders ? placeholders : 1);
    std::size_t placed = 0;
    while (text.size() < bytes) {
        const std::size_t target = text.size() + gap;
        while (text.size() + filler.size() < target) text += filler;
        if (placed < placeholders) {
            text += placeholder;
            ++placed;
        } else {
            text += filler;
        }
    }
    return text;
}

void BM_ReplaceAllTenMegabytes(benchmark::State& state) {
    const kx::AnsiString text = kx::AsGbk(TemplateText(10'000'000, static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(kx::ReplaceAll(text, "$ProjectName$", "\xCF\xEE\xC4\xBF_demo"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReplaceAllTenMegabytes)->Arg(0)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A pattern whose prefix keeps matching: a naive search backs up on every byte.
void BM_ReplaceAllRepetitivePattern(benchmark::State& state) {
    const kx::AnsiString text(10'000'000, 'a');
    const kx::AnsiString pattern = kx::AnsiString(1000, 'a') + "b";
    for (auto _ : state) benchmark::DoNotOptimize(kx::ReplaceAll(text, pattern, "x"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReplaceAllRepetitivePattern)->Unit(benchmark::kMillisecond);

}  // namespace
