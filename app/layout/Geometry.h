// Rectangles and the platform's rounding rule, shared by the window layouts.
#pragma once

namespace kx::layout {

struct Rect {
    int left;
    int top;
    int width;
    int height;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

struct Point {
    int x;
    int y;
};

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c
// is 0 or the result lies beyond -INT_MAX..INT_MAX. The same result as the
// Win32 MulDiv, so layouts agree with the platform's dialog-unit arithmetic.
int MulDiv(int a, int b, int c);

// Origin that centres a box of the given size in area; halves are truncated
// towards zero, as the platform's integer division does.
Point CentredOrigin(const Rect& area, int width, int height);

}  // namespace kx::layout
