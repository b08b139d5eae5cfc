// The word-at-a-time questions the long-text scanners ask, against the same
// questions asked of each byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "ByteWords.h"

namespace kx {
namespace {

TEST(ByteWords, MarkExactlyTheBytesAskedFor) {
    // Bytes next to the one asked for, zeros and top bits: where a borrow or
    // a carry from one byte into the next would mark a wrong one.
    const unsigned char asked[] = {0x00, '\r', '\n', '$', 0x7F, 0x80, 0xFF};
    std::mt19937 random(8);
    for (const unsigned char byte : asked) {
        const auto near = [byte](int delta) { return static_cast<unsigned char>(byte + delta); };
        const unsigned char nearby[] = {byte, near(-1), near(1), 0x00, 0x01, 0x80, 0xFF, near(0x80)};
        for (int round = 0; round < 20000; ++round) {
            char bytes[8];
            std::size_t expected = 0;
            for (int i = 0; i < 8; ++i) {
                bytes[i] = static_cast<char>(nearby[random() % std::size(nearby)]);
                if (static_cast<unsigned char>(bytes[i]) == byte) ++expected;
            }
            const std::uint64_t word = words::WordAt(bytes);
            const std::uint64_t mask = words::BytesEqual(word, byte);
            // The mask read back byte by byte, in the word's own memory order.
            unsigned char maskBytes[8];
            std::memcpy(maskBytes, &mask, sizeof mask);
            for (int i = 0; i < 8; ++i) {
                ASSERT_EQ(maskBytes[i] == 0x80, static_cast<unsigned char>(bytes[i]) == byte)
                    << "byte " << int(byte) << " at " << i;
                ASSERT_TRUE(maskBytes[i] == 0 || maskBytes[i] == 0x80);
            }
            ASSERT_EQ(words::CountMarked(mask), expected) << "byte " << int(byte);
            ASSERT_EQ(words::CountMarked(word & words::kHighBits) == 0,
                      std::all_of(bytes, bytes + 8, [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
        }
    }
}

}  // namespace
}  // namespace kx
