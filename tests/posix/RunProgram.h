// Runs a program with arguments, no shell, and hands back its exit code and
// standard output; standard error goes where the test's goes.
#pragma once

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace kx::test {

struct ProgramRun {
    int exitCode;  // 127 when the program could not be started
    std::string out;
};

inline ProgramRun RunProgram(const std::vector<std::string>& args) {
    ProgramRun run{127, ""};
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return run;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    ::posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    ::posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    const bool started = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        run.out.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (started && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

inline bool Installed(const std::string& program) { return RunProgram({program, "--version"}).exitCode == 0; }

}  // namespace kx::test
