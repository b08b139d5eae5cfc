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

}  // namespace kx
