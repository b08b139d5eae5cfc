// The chunk rule of ReadTextResource, over any source of bytes.
#pragma once

#include <cstddef>

#include "KxTypes.h"

namespace kx {

// A read-only stream: Read copies up to count bytes from the current position,
// advances it and returns how many bytes it copied (0 at the end).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::size_t Read(unsigned char* buffer, std::size_t count) = 0;
};

// A stream over bytes that stay owned by the caller (a resource, a test array).
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* data, std::size_t size) noexcept
        : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0) {}
    std::size_t Read(unsigned char* buffer, std::size_t count) override;

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

constexpr std::size_t kChunkBufferSize = 101;  // all zero before each read
constexpr std::size_t kChunkReadSize = 100;    // so byte 101 is always a terminator

// Reads the source 100 bytes at a time into a zeroed 101-byte buffer and keeps
// each piece's bytes before its first zero byte. May throw std::bad_alloc.
AnsiString ReadTextInChunks(ByteSource& source);

// The same rule over bytes already in memory (a resource): what a
// MemoryByteSource over them gives, gathered without copying each piece
// through a buffer. May throw std::bad_alloc.
AnsiString ReadTextInChunks(const void* data, std::size_t size);

}  // namespace kx
