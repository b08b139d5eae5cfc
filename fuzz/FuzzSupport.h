// Shared by the fuzz targets: a failed property aborts, which libFuzzer
// reports as a finding and the corpus replay as a failed test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define KX_FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::kx::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace kx::fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, condition);
    std::abort();
}

// Carves the fuzzer's bytes into small fields from the front; once the input
// is used up every field is empty or zero, so any input is a valid case.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    unsigned char Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    std::string Take(std::size_t count) {
        if (count > size_ - pos_) count = size_ - pos_;
        std::string out(reinterpret_cast<const char*>(data_ + pos_), count);
        pos_ += count;
        return out;
    }

    std::string Rest() { return Take(size_ - pos_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace kx::fuzz
