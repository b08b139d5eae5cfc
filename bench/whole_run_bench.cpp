// kxgen's whole run against the floor: `cp -r` of the very tree it writes.
//
// Each round runs `kxgen --name demo --root <fresh folder> --no-open` and
// `cp -r` of a tree kxgen wrote earlier into another fresh folder, in turn
// (the order alternates from round to round), so both see the same machine
// load. It prints the median wall time of each, their ratio, the median CPU
// time, and kxgen's peak resident memory.
//
//   kx_whole_run_bench [--runs N] [--kxgen PATH]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr double kGoalRatio = 1.25;

struct Sample {
    double wallMs = 0;
    double cpuMs = 0;
    long peakKb = 0;
};

double Milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

// Runs argv with stdin and stdout on /dev/null; exits the benchmark when the
// program cannot start or does not succeed, since its times would mean nothing.
Sample Run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    int status = 0;
    rusage usage{};
    if (spawned == 0) wait4(pid, &status, 0, &usage);
    clock_gettime(CLOCK_MONOTONIC, &end);
    posix_spawn_file_actions_destroy(&actions);

    if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "kx_whole_run_bench: %s failed (status %d)\n", argv[0].c_str(), status);
        std::exit(1);
    }
    Sample sample;
    sample.wallMs = static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
                    static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e6;
    sample.cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    sample.peakKb = usage.ru_maxrss;
    return sample;
}

template <typename Field>
double Median(std::vector<Sample> samples, Field field) {
    std::vector<double> values;
    for (const Sample& sample : samples) values.push_back(static_cast<double>(sample.*field));
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::vector<std::string> KxgenCommand(const std::string& kxgen, const fs::path& root) {
    return {kxgen, "--name", "demo", "--root", root.string(), "--no-open"};
}

std::vector<std::string> CopyCommand(const fs::path& from, const fs::path& to) {
    return {"/bin/cp", "-r", from.string(), to.string()};
}

int Usage() {
    std::fprintf(stderr, "usage: kx_whole_run_bench [--runs N] [--kxgen PATH]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 200;
    std::string kxgen = KX_KXGEN_PATH;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (arg == "--kxgen" && i + 1 < argc) {
            kxgen = argv[++i];
        } else {
            return Usage();
        }
    }
    if (runs < 1) return Usage();

    char pattern[] = "/tmp/kx-whole-run.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("kx_whole_run_bench: mkdtemp");
        return 1;
    }
    const fs::path work = pattern;

    // The tree that cp copies, written by kxgen itself; it also warms the caches.
    const fs::path reference = work / "reference";
    Run(KxgenCommand(kxgen, reference));
    Run(CopyCommand(reference, work / "warm"));
    fs::remove_all(work / "warm");

    std::vector<Sample> generated, copied;
    for (int round = 0; round < runs; ++round) {
        const fs::path root = work / "kxgen";
        const fs::path copy = work / "copy";
        if (round % 2 == 0) {
            generated.push_back(Run(KxgenCommand(kxgen, root)));
            copied.push_back(Run(CopyCommand(reference, copy)));
        } else {
            copied.push_back(Run(CopyCommand(reference, copy)));
            generated.push_back(Run(KxgenCommand(kxgen, root)));
        }
        fs::remove_all(root);
        fs::remove_all(copy);
    }
    fs::remove_all(work);

    const double kxgenMs = Median(generated, &Sample::wallMs);
    const double copyMs = Median(copied, &Sample::wallMs);
    long peakKb = 0;
    for (const Sample& sample : generated) peakKb = std::max(peakKb, sample.peakKb);
    const double ratio = kxgenMs / copyMs;

    std::printf("kxgen --name demo --root DIR --no-open against cp -r of its tree, %d interleaved rounds\n",
                runs);
    std::printf("  kxgen  median %7.3f ms wall, %7.3f ms CPU, peak memory median %.2f MB, max %.2f MB\n",
                kxgenMs, Median(generated, &Sample::cpuMs), Median(generated, &Sample::peakKb) / 1024,
                static_cast<double>(peakKb) / 1024);
    std::printf("  cp -r  median %7.3f ms wall, %7.3f ms CPU\n", copyMs, Median(copied, &Sample::cpuMs));
    std::printf("  ratio  %.2f (goal at most %.2f: %s)\n", ratio, kGoalRatio,
                ratio <= kGoalRatio ? "met" : "not met");
    return 0;
}
