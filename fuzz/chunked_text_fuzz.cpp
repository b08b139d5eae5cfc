// ReadTextResource's chunk rule over arbitrary bytes: the text is the
// concatenation, over the reads of at most 100 bytes, of each read's bytes
// before its first zero byte. A resource stream always fills each read, so
// the pieces are the 100-byte pieces of the resource; a stream that returns
// less is tried too, because the buffer must then not leak stale bytes.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "ChunkedText.h"
#include "FuzzSupport.h"

namespace {

// Hands out at most the next scripted count per read (cycling), never more
// than asked for.
class ShortReadSource : public kx::ByteSource {
public:
    ShortReadSource(const unsigned char* data, std::size_t size, std::vector<std::size_t> counts)
        : data_(data), size_(size), counts_(std::move(counts)) {}

    std::size_t Read(unsigned char* buffer, std::size_t count) override {
        const std::size_t want = std::min(count, counts_[next_++ % counts_.size()]);
        const std::size_t n = std::min(want, size_ - position_);
        if (n > 0) std::memcpy(buffer, data_ + position_, n);
        position_ += n;
        return n;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::vector<std::size_t> counts_;
    std::size_t next_ = 0;
    std::size_t position_ = 0;
};

std::string ByTheRule(const unsigned char* data, std::size_t size, const std::vector<std::size_t>& counts) {
    std::string text;
    std::size_t position = 0;
    for (std::size_t read = 0; position < size; ++read) {
        const std::size_t n = std::min({counts[read % counts.size()], kx::kChunkReadSize, size - position});
        std::size_t kept = 0;
        while (kept < n && data[position + kept] != 0) ++kept;
        text.append(reinterpret_cast<const char*>(data + position), kept);
        position += n;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kx::fuzz::FuzzInput input(data, size);
    const unsigned char mode = input.Byte();
    std::vector<std::size_t> counts{kx::kChunkReadSize};
    if (mode & 1) {
        // 1..8 read sizes of 1..100 bytes; a size of 0 would end the text early by design.
        counts.clear();
        const std::size_t n = 1 + input.Byte() % 8;
        for (std::size_t i = 0; i < n; ++i) counts.push_back(1 + input.Byte() % kx::kChunkReadSize);
    }
    const std::string rest = input.Rest();
    // An exact-size block of its own, so a read past the resource is a read past the block.
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[rest.size()]);
    std::memcpy(bytes.get(), rest.data(), rest.size());
    const unsigned char* resource = rest.empty() ? nullptr : bytes.get();

    const std::string expected = ByTheRule(resource, rest.size(), counts);
    if (mode & 1) {
        ShortReadSource source(resource, rest.size(), counts);
        KX_FUZZ_CHECK(kx::BytesOf(kx::ReadTextInChunks(source)) == expected);
    } else {
        kx::MemoryByteSource source(resource, rest.size());
        KX_FUZZ_CHECK(kx::BytesOf(kx::ReadTextInChunks(source)) == expected);
        KX_FUZZ_CHECK(kx::BytesOf(kx::ReadTextInChunks(resource, rest.size())) == expected);
    }
    return 0;
}
