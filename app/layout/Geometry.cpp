#include "Geometry.h"

#include <cstdint>
#include <cstdlib>

namespace kx::layout {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = std::llabs(product);
    const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(c));
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

Point CentredOrigin(const Rect& area, int width, int height) {
    return Point{area.left + (area.width - width) / 2, area.top + (area.height - height) / 2};
}

}  // namespace kx::layout
