#include "ChildRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace kx::bench {

namespace {

double Milliseconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

}  // namespace

Sample RunChild(const std::vector<std::string>& argv) {
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
        std::fprintf(stderr, "benchmark: %s failed (status %d)\n", argv[0].c_str(), status);
        std::exit(1);
    }
    Sample sample;
    sample.wallMs = static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
                    static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e6;
    sample.cpuMs = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    sample.peakMb = static_cast<double>(usage.ru_maxrss) / 1024;
    return sample;
}

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

void PrintSpread(const char* name, const Spread& spread, const char* unit) {
    std::printf("  %-22s min %9.3f  median %9.3f  max %9.3f %s\n", name, spread.min, spread.median, spread.max,
                unit);
}

std::filesystem::path MakeWorkFolder(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + ".XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("benchmark: mkdtemp");
        std::exit(1);
    }
    return pattern;
}

Options ParseOptions(int argc, char** argv, Options defaults, const char* usage) {
    Options options = defaults;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            options.runs = std::atoi(argv[++i]);
        } else if (arg == "--kxgen" && i + 1 < argc) {
            options.kxgen = argv[++i];
        } else {
            options.runs = 0;
            break;
        }
    }
    if (options.runs < 1) {
        std::fprintf(stderr, "usage: %s\n", usage);
        std::exit(2);
    }
    return options;
}

}  // namespace kx::bench
