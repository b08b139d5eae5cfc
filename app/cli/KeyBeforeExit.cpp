#include "KeyBeforeExit.h"

namespace kx::cli {

bool WaitsForKeyBeforeExit(const ConsoleWindowState& console) {
    return console.processesOnConsole == 1 && console.inputIsConsole && console.windowVisible;
}

}  // namespace kx::cli
