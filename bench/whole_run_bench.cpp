// kxgen's whole run against the floor: kx_floor_copy, a static program that
// writes the very folders and files kxgen writes (by copying a tree kxgen
// wrote earlier) with plain system calls.
//
// Each round runs `kxgen --name demo --root <fresh folder> --no-open` and the
// floor into another fresh folder, in turn (the order alternates from round
// to round), so both see the same machine load; the ratio is taken round by
// round. It prints the minimum, median and maximum of the wall and CPU times
// of each, of the ratio, and kxgen's peak memory.
//
//   kx_whole_run_bench [--runs N] [--kxgen PATH]
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildRun.h"

namespace {

namespace fs = std::filesystem;
using namespace kx::bench;

constexpr double kGoalRatio = 1.1;

std::vector<std::string> KxgenCommand(const std::string& kxgen, const fs::path& root) {
    return {kxgen, "--name", "demo", "--root", root.string(), "--no-open"};
}

std::vector<std::string> FloorCommand(const fs::path& from, const fs::path& to) {
    return {KX_FLOOR_PATH, from.string(), to.string()};
}

}  // namespace

int main(int argc, char** argv) {
    const Options options =
        ParseOptions(argc, argv, {200, KX_KXGEN_PATH}, "kx_whole_run_bench [--runs N] [--kxgen PATH]");
    const fs::path work = MakeWorkFolder("kx-whole-run");

    // The tree the floor copies, written by kxgen itself; it also warms the caches.
    const fs::path reference = work / "reference";
    RunChild(KxgenCommand(options.kxgen, reference));
    RunChild(FloorCommand(reference, work / "warm"));
    fs::remove_all(work / "warm");

    std::vector<Sample> generated, floor;
    std::vector<double> ratios;
    for (int round = 0; round < options.runs; ++round) {
        const fs::path root = work / "kxgen";
        const fs::path copy = work / "floor";
        if (round % 2 == 0) {
            generated.push_back(RunChild(KxgenCommand(options.kxgen, root)));
            floor.push_back(RunChild(FloorCommand(reference, copy)));
        } else {
            floor.push_back(RunChild(FloorCommand(reference, copy)));
            generated.push_back(RunChild(KxgenCommand(options.kxgen, root)));
        }
        ratios.push_back(generated.back().wallMs / floor.back().wallMs);
        fs::remove_all(root);
        fs::remove_all(copy);
    }
    fs::remove_all(work);

    std::printf("kxgen --name demo --root DIR --no-open against the static floor, %d interleaved rounds\n",
                options.runs);
    PrintSpread("kxgen wall", SpreadOf(generated, &Sample::wallMs), "ms");
    PrintSpread("kxgen CPU", SpreadOf(generated, &Sample::cpuMs), "ms");
    PrintSpread("kxgen peak memory", SpreadOf(generated, &Sample::peakMb), "MB");
    PrintSpread("floor wall", SpreadOf(floor, &Sample::wallMs), "ms");
    PrintSpread("floor CPU", SpreadOf(floor, &Sample::cpuMs), "ms");
    const Spread ratio = SpreadOf(ratios);
    PrintSpread("wall ratio", ratio, "");
    std::printf("  median ratio %.2f (goal at most %.2f: %s)\n", ratio.median, kGoalRatio,
                ratio.median <= kGoalRatio ? "met" : "not met");
    return 0;
}
