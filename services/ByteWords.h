// Eight bytes at a time: what the scanners of long texts share. A word is
// read from any position, and asks at once about each of its eight bytes:
// is it ASCII, is it this byte. Only where every byte is ASCII may a GBK
// scanner pass the word over without walking its characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kx::words {

inline constexpr std::uint64_t kOnes = 0x0101010101010101u;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// The eight bytes from at on, in memory order whatever the machine's order:
// the questions below ask about each byte alike.
inline std::uint64_t WordAt(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The top bit of each byte of word that is zero, and of no other byte (no
// borrow runs from one byte into the next).
constexpr std::uint64_t ZeroBytes(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = ~kHighBits;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The top bit of each byte of word that is byte.
constexpr std::uint64_t BytesEqual(std::uint64_t word, unsigned char byte) { return ZeroBytes(word ^ (kOnes * byte)); }

// How many bytes a mask of top bits (as the two above give) marks.
constexpr std::size_t CountMarked(std::uint64_t mask) { return static_cast<std::size_t>((mask >> 7) * kOnes >> 56); }

}  // namespace kx::words
