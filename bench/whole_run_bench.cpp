// kxgen's whole run against the floor: kx_floor_copy, a static program that
// writes the very folders and files kxgen writes (by copying a tree kxgen
// wrote earlier) with plain system calls.
//
// Each round runs `kxgen --name demo --root <fresh folder> --no-open`, the
// floor, and the converter floor (the same copy linked against the shared C
// library, after taking the locale and opening the CP936 converter as kxgen
// must) into fresh folders, in turn (the order rotates from round to round),
// so all see the same machine load; the ratios are taken round by round. It
// prints the minimum, median and maximum of the wall and CPU times of each,
// of the ratios, and kxgen's peak memory. The converter floor's own ratio is
// the part of kxgen's that no change inside kxgen can take away.
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

std::vector<std::string> FloorCommand(const char* floor, const fs::path& from, const fs::path& to) {
    return {floor, from.string(), to.string()};
}

}  // namespace

int main(int argc, char** argv) {
    const Options options =
        ParseOptions(argc, argv, {200, KX_KXGEN_PATH}, "kx_whole_run_bench [--runs N] [--kxgen PATH]");
    const fs::path work = MakeWorkFolder("kx-whole-run");

    // The tree the floors copy, written by kxgen itself; it also warms the caches.
    const fs::path reference = work / "reference";
    RunChild(KxgenCommand(options.kxgen, reference));
    RunChild(FloorCommand(KX_CONVERTER_FLOOR_PATH, reference, work / "warm"));
    fs::remove_all(work / "warm");

    std::vector<Sample> generated, floor, converterFloor;
    std::vector<double> ratios, converterRatios;
    for (int round = 0; round < options.runs; ++round) {
        const fs::path root = work / "kxgen";
        const fs::path copy = work / "floor";
        const fs::path converterCopy = work / "converter-floor";
        for (int turn = 0; turn < 3; ++turn) {
            switch ((round + turn) % 3) {
                case 0: generated.push_back(RunChild(KxgenCommand(options.kxgen, root))); break;
                case 1: floor.push_back(RunChild(FloorCommand(KX_FLOOR_PATH, reference, copy))); break;
                default:
                    converterFloor.push_back(RunChild(FloorCommand(KX_CONVERTER_FLOOR_PATH, reference, converterCopy)));
                    break;
            }
        }
        ratios.push_back(generated.back().wallMs / floor.back().wallMs);
        converterRatios.push_back(converterFloor.back().wallMs / floor.back().wallMs);
        fs::remove_all(root);
        fs::remove_all(copy);
        fs::remove_all(converterCopy);
    }
    fs::remove_all(work);

    std::printf("kxgen --name demo --root DIR --no-open against the static floor, %d interleaved rounds\n",
                options.runs);
    PrintSpread("kxgen wall", SpreadOf(generated, &Sample::wallMs), "ms");
    PrintSpread("kxgen CPU", SpreadOf(generated, &Sample::cpuMs), "ms");
    PrintSpread("kxgen peak memory", SpreadOf(generated, &Sample::peakMb), "MB");
    PrintSpread("floor wall", SpreadOf(floor, &Sample::wallMs), "ms");
    PrintSpread("floor CPU", SpreadOf(floor, &Sample::cpuMs), "ms");
    PrintSpread("converter floor wall", SpreadOf(converterFloor, &Sample::wallMs), "ms");
    const Spread ratio = SpreadOf(ratios);
    const Spread converterRatio = SpreadOf(converterRatios);
    PrintSpread("wall ratio", ratio, "");
    PrintSpread("converter floor ratio", converterRatio, "");
    std::printf("  median ratio %.2f (goal at most %.2f: %s); the converter floor alone %.2f\n", ratio.median,
                kGoalRatio, ratio.median <= kGoalRatio ? "met" : "not met", converterRatio.median);
    return 0;
}
