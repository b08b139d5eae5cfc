// kxgen.exe started from Explorer gets a console window of its own, which
// closes the moment kxgen exits and takes the tree it printed, or its
// message, with it. Only there does kxgen wait for a key before it exits.
#pragma once

namespace kx::cli {

struct ConsoleWindowState {
    unsigned long processesOnConsole;  // 1: kxgen's alone; 0: the list could not be read
    bool inputIsConsole;               // standard input is that console, not redirected
    bool windowVisible;                // the console has a window, and it is shown
};

// From cmd, PowerShell or a script the console is the shell's too and stays.
// With input redirected no key can come, and in a hidden window (kxgen
// started hidden by another program, or Wine on a Unix terminal) nobody
// could press one: kxgen would wait for ever.
bool WaitsForKeyBeforeExit(const ConsoleWindowState& console);

}  // namespace kx::cli
