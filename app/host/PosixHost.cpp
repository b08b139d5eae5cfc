// The host on Linux: the executable's folder from /proc, the local date from
// the C library and the shell's "open" through xdg-open, when it is installed.
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "CodePage.h"
#include "SystemHost.h"
#include "NativePath.h"
#include "Texts.h"
#include "XdgOpen.h"
#include "posix/PosixFiles.h"

extern char** environ;

namespace kx {

AnsiString SystemHost::ExecutableFolder() {
    // A folder guessed ("./", the current one) would put the projects
    // somewhere else: a failed or filled read is an error.
    std::string buffer(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) {
        const int error = length < 0 ? errno : ENOENT;
        throw KxError("Cannot find the program's folder: /proc/self/exe: " + SystemErrorText(error));
    }
    if (static_cast<std::size_t>(length) >= buffer.size()) {
        throw KxError("Cannot find the program's folder: /proc/self/exe gave a path of 4096 bytes or more");
    }
    buffer.resize(static_cast<std::size_t>(length));
    return AnsiFromUtf8(buffer.substr(0, buffer.rfind('/') + 1));
}

AnsiString SystemHost::OutputRoot() { return ExecutableFolder() + texts::kOutputRootName; }

LocalDate SystemHost::Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int StartXdgOpen(const AnsiString& file) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string path = NativePath(file);
    char program[] = "xdg-open";
    char* argv[] = {program, path.data(), nullptr};
    pid_t child = 0;
    // Not waited for, as the shell is not: a program it starts may stay open.
    const int error = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

void SystemHost::ShellOpen(const AnsiString& path) {
    // Like the Windows shell: ask once, never wait, ignore the outcome.
    StartXdgOpen(path);
}

}  // namespace kx
