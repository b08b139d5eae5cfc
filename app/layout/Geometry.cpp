#include "Geometry.h"

#include <climits>
#include <cstdint>

namespace kx::layout {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    // The product of two ints fits 64 bits; magnitudes are taken unsigned, as
    // INT_MIN has no positive int.
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t magnitude = product < 0 ? 0 - static_cast<std::uint64_t>(product) : product;
    const std::uint64_t divisor = c < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(c)) : c;
    const std::uint64_t rounded = (magnitude + divisor / 2) / divisor;
    // A result beyond an int's reach is the platform's -1, INT_MIN included.
    if (rounded > static_cast<std::uint64_t>(INT_MAX)) return -1;
    return negative ? -static_cast<int>(rounded) : static_cast<int>(rounded);
}

Point CentredOrigin(const Rect& area, int width, int height) {
    return Point{area.left + (area.width - width) / 2, area.top + (area.height - height) / 2};
}

}  // namespace kx::layout
