#include "ChunkedText.h"

#include <algorithm>
#include <cstring>

namespace kx {

std::size_t MemoryByteSource::Read(unsigned char* buffer, std::size_t count) {
    const std::size_t available = size_ - position_;
    const std::size_t n = std::min(count, available);
    if (n == 0) return 0;
    std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
}

AnsiString ReadTextInChunks(ByteSource& source) {
    AnsiString accumulator;
    unsigned char buffer[kChunkBufferSize] = {};
    for (;;) {
        const std::size_t read = std::min(source.Read(buffer, kChunkReadSize), kChunkReadSize);
        if (read == 0) break;
        // The bytes before the first zero; the rest of the buffer is zero, so
        // this never looks past what was just read.
        const auto* end = static_cast<const unsigned char*>(std::memchr(buffer, 0, read));
        const std::size_t length = end ? static_cast<std::size_t>(end - buffer) : read;
        accumulator.append(reinterpret_cast<const char*>(buffer), length);
        std::memset(buffer, 0, sizeof buffer);
    }
    return accumulator;
}

AnsiString ReadTextInChunks(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    if (bytes == nullptr) size = 0;
    AnsiString text;
    text.reserve(size);
    // Pieces without a zero byte are kept whole: each run of them goes in
    // at once, up to the zero that cuts the next piece short.
    std::size_t run = 0;
    for (std::size_t piece = 0; piece < size; piece += kChunkReadSize) {
        const std::size_t length = std::min(kChunkReadSize, size - piece);
        const void* zero = std::memchr(bytes + piece, 0, length);
        if (zero == nullptr) continue;
        text.append(bytes + run, static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) - run);
        run = piece + length;
    }
    text.append(bytes + run, size - run);
    return text;
}

}  // namespace kx
