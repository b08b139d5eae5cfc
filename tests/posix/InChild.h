// Runs part of a test in a forked child, for what the test process itself
// must not do (leave a mount namespace changed, drop root, lose /proc), and
// hands back what the child reported.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "posix/PosixFiles.h"

namespace kx::test {

struct ChildRun {
    std::string text;  // what body returned
    int status = 0;    // as waitpid reports it
    bool Ended() const { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }
};

// body runs in the child and may end it itself with _exit; its text comes
// back through a pipe.
inline ChildRun RunInChild(const std::function<std::string()>& body) {
    ChildRun run;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) {
        run.status = -1;
        return run;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const std::string text = body();
        ::_exit(WriteAll(pipeEnds[1], text.data(), text.size()) ? 0 : 4);
    }
    ::close(pipeEnds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) run.text.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    if (child < 0 || ::waitpid(child, &run.status, 0) != child) run.status = -1;
    return run;
}

}  // namespace kx::test
