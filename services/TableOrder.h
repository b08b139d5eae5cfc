// For tables with one row per value of an enumeration, checked when they
// are compiled.
#pragma once

#include <cstddef>

namespace kx {

// True when rows hold one row for each of the enumeration's count values,
// in their order, each naming its own value in key.
template <typename Row, std::size_t N, typename Enum>
constexpr bool RowsFollow(const Row (&rows)[N], Enum Row::*key, std::size_t count) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<std::size_t>(rows[i].*key) != i) return false;
    }
    return N == count;
}

// The count of an enumeration's values from 0 to last.
template <typename Enum>
constexpr std::size_t ValuesUpTo(Enum last) {
    return static_cast<std::size_t>(last) + 1;
}

}  // namespace kx
