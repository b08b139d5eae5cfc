// Matchers for GBK text (gmock's own take std::string only).
#pragma once

#include <gmock/gmock.h>

#include "KxTypes.h"

namespace kx::test {

// The text starts with prefix (both AnsiString or both std::string).
MATCHER_P(StartsWith, prefix, "starts with " + testing::PrintToString(prefix)) {
    return arg.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace kx::test
