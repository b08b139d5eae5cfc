// Windows only: the layouts' own MulDiv against the system's.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>

#include "Geometry.h"
#include "windows/Wine.h"

namespace kx {
namespace {

// Every combination of these as a, b and c: zero divisors, halves to round
// either way, products past 32 bits and results just inside and past an
// int's reach, INT_MIN in each place.
TEST(MulDivWin32, GivesWhatTheSystemsMulDivGives) {
    const int values[] = {0,     1,      -1,     2,       -2,      3,       -3,     7,
                          -7,    13,     46341,  -46341,  65536,   -65536,  1 << 30, -(1 << 30),
                          INT_MAX, -INT_MAX, INT_MAX - 1, INT_MIN, INT_MIN + 1};
    // Wine's MulDiv turns a negative divisor positive by negating it and a:
    // for INT_MIN that gives INT_MIN again, and a result of the wrong sign.
    const bool wine = test::RunningUnderWine();
    int compared = 0;
    for (const int a : values) {
        for (const int b : values) {
            for (const int c : values) {
                if (wine && c < 0 && (a == INT_MIN || c == INT_MIN)) continue;
                ++compared;
                ASSERT_EQ(layout::MulDiv(a, b, c), ::MulDiv(a, b, c)) << a << " * " << b << " / " << c;
            }
        }
    }
    EXPECT_GT(compared, 8000);
}

}  // namespace
}  // namespace kx
