// What the whole-process benchmarks share: a child run timed from outside,
// with its CPU time and peak memory as the kernel accounts them, and the
// spread (minimum, median, maximum) of many such figures.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kx::bench {

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
    double peakMb = 0;  // the child's ru_maxrss
};

// Runs argv (argv[0] a path) with standard input and output on /dev/null and
// exits the benchmark when it cannot start or does not succeed: the times of
// a failed run would mean nothing.
Sample RunChild(const std::vector<std::string>& argv);

struct Spread {
    double min = 0;
    double median = 0;
    double max = 0;
};
Spread SpreadOf(std::vector<double> values);

template <typename Field>
Spread SpreadOf(const std::vector<Sample>& samples, Field field) {
    std::vector<double> values;
    for (const Sample& sample : samples) values.push_back(sample.*field);
    return SpreadOf(std::move(values));
}

// "name   min 1.234  median 1.345  max 2.001 unit" on standard output.
void PrintSpread(const char* name, const Spread& spread, const char* unit);

// A new folder under /tmp for one benchmark's files (exits when none can be made).
std::filesystem::path MakeWorkFolder(const char* prefix);

struct Options {
    int runs = 0;
    std::string kxgen;  // the program under test
};
// [--runs N] [--kxgen PATH]; prints usage and exits on anything else.
Options ParseOptions(int argc, char** argv, Options defaults, const char* usage);

}  // namespace kx::bench
