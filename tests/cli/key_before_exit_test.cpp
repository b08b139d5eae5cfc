#include <gtest/gtest.h>

#include "KeyBeforeExit.h"

namespace kx::cli {
namespace {

TEST(KeyBeforeExit, OnlyInAShownWindowOfItsOwnWithInputFromIt) {
    const struct {
        const char* when;
        ConsoleWindowState console;
        bool waits;
    } cases[] = {
        {"Explorer started it", {1, true, true}, true},
        {"cmd or PowerShell shares the console", {2, true, true}, false},
        {"a script through cmd", {3, true, true}, false},
        {"input is redirected", {1, false, true}, false},
        {"the window is hidden", {1, true, false}, false},
        {"the process list could not be read", {0, true, true}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(WaitsForKeyBeforeExit(c.console), c.waits) << c.when;
}

}  // namespace
}  // namespace kx::cli
