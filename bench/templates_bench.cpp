// kxgen --templates with a large main script: how many megabytes of template
// a whole run gets through per second, and its peak memory against the size
// of the template.
//
// The folder is the exported set with main-script.kx grown to 10 MB by
// repeating its own text, so the mix of ASCII, Chinese and placeholders is
// the template's own. Each round generates into a fresh folder.
//
//   kx_templates_bench [--runs N] [--kxgen PATH]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ChildRun.h"

namespace {

namespace fs = std::filesystem;
using namespace kx::bench;

constexpr std::size_t kScriptBytes = 10u << 20;
constexpr double kGoalMbPerSecond = 100;
constexpr double kGoalPeakPerTemplate = 3;
constexpr char kBom[] = "\xEF\xBB\xBF";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The exported main script's text, repeated whole until the file holds at
// least size bytes (whole, so that every line still ends in CR LF).
void GrowMainScript(const fs::path& path, std::size_t size) {
    const std::string body = ReadAll(path).substr(sizeof kBom - 1);
    if (body.empty()) {
        std::fprintf(stderr, "kx_templates_bench: %s is empty\n", path.c_str());
        std::exit(1);
    }
    std::string script = kBom;
    script.reserve(size + body.size());
    while (script.size() < size) script += body;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(script.data(), static_cast<std::streamsize>(script.size()));
}

}  // namespace

int main(int argc, char** argv) {
    const Options options =
        ParseOptions(argc, argv, {20, KX_KXGEN_PATH}, "kx_templates_bench [--runs N] [--kxgen PATH]");
    const fs::path work = MakeWorkFolder("kx-templates");
    const fs::path templates = work / "templates";
    RunChild({options.kxgen, "--export-templates", templates.string()});
    const fs::path script = templates / "main-script.kx";
    GrowMainScript(script, kScriptBytes);
    const double templateMb = static_cast<double>(fs::file_size(script)) / (1 << 20);

    const fs::path root = work / "projects";
    const std::vector<std::string> command = {options.kxgen, "--templates", templates.string(), "--name", "demo",
                                              "--root",      root.string(), "--no-open"};
    RunChild(command);  // warms the caches
    fs::remove_all(root);
    std::vector<Sample> samples;
    std::vector<double> rates, peaks;
    for (int round = 0; round < options.runs; ++round) {
        samples.push_back(RunChild(command));
        rates.push_back(templateMb / (samples.back().wallMs / 1e3));
        peaks.push_back(samples.back().peakMb / templateMb);
        fs::remove_all(root);
    }
    fs::remove_all(work);

    std::printf("kxgen --templates DIR --name demo --root DIR --no-open, main script %.1f MB, %d rounds\n",
                templateMb, options.runs);
    PrintSpread("wall", SpreadOf(samples, &Sample::wallMs), "ms");
    PrintSpread("CPU", SpreadOf(samples, &Sample::cpuMs), "ms");
    PrintSpread("peak memory", SpreadOf(samples, &Sample::peakMb), "MB");
    const Spread rate = SpreadOf(rates);
    const Spread peak = SpreadOf(peaks);
    PrintSpread("template MB/s", rate, "");
    PrintSpread("peak / template", peak, "");
    std::printf("  median %.0f MB/s (goal at least %.0f: %s), peak %.2f x the template (goal at most %.0f: %s)\n",
                rate.median, kGoalMbPerSecond, rate.median >= kGoalMbPerSecond ? "met" : "not met", peak.max,
                kGoalPeakPerTemplate, peak.max <= kGoalPeakPerTemplate ? "met" : "not met");
    return 0;
}
