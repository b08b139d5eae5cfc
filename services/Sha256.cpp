#include "Sha256.h"

#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define KX_SHA_INSTRUCTIONS 1
// The C library asked the processor once as it started; where it keeps what
// it learnt for programs to read, ask it rather than the processor, whose
// answer costs microseconds inside a virtual machine.
#if __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#define KX_LIBRARY_KNOWS_PROCESSOR 1
#else
#include <cpuid.h>
#endif
#endif

#include "AsciiText.h"

namespace kx {

namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

inline std::uint32_t RotateRight(std::uint32_t x, unsigned n) { return (x >> n) | (x << (32 - n)); }

#ifdef KX_SHA_INSTRUCTIONS
bool AskProcessor() {
#ifdef KX_LIBRARY_KNOWS_PROCESSOR
    return CPU_FEATURE_ACTIVE(SSSE3) && CPU_FEATURE_ACTIVE(SSE4_1) && CPU_FEATURE_ACTIVE(SHA);
#else
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const bool ssse3 = (c & bit_SSSE3) != 0, sse41 = (c & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    return ssse3 && sse41 && (b & bit_SHA) != 0;
#endif
}

// The blocks through the SHA extensions: the state kept as ABEF and CDGH,
// four rounds an instruction pair, the schedule four words at a time.
__attribute__((target("sha,sse4.1,ssse3"))) void CompressWithProcessor(std::uint32_t* state,
                                                                       const unsigned char* blocks,
                                                                       std::size_t count) {
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
    __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
    const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
    const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; count > 0; --count, blocks += 64) {
        const __m128i abefBefore = abef, cdghBefore = cdgh;
        __m128i words[4];  // words[g % 4]: the schedule's words 4g to 4g + 3
        // Unrolled, the words stay in registers: a fifth faster.
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            __m128i& w = words[g % 4];
            if (g < 4) {
                w = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * g)), byteOrder);
            } else {
                const __m128i& last = words[(g + 3) % 4];
                const __m128i sum = _mm_add_epi32(_mm_sha256msg1_epu32(w, words[(g + 1) % 4]),
                                                  _mm_alignr_epi8(last, words[(g + 2) % 4], 4));
                w = _mm_sha256msg2_epu32(sum, last);
            }
            const __m128i k = _mm_add_epi32(w, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRound + 4 * g)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    dcba = _mm_blend_epi16(feba, dchg, 0xF0);
    hgfe = _mm_alignr_epi8(dchg, feba, 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), dcba);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), hgfe);
}
#endif

}  // namespace

bool Sha256::ProcessorHasShaInstructions() {
#ifdef KX_SHA_INSTRUCTIONS
    static const bool has = AskProcessor();
    return has;
#else
    return false;
#endif
}

Sha256::Sha256(Engine engine)
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19},
      block_{},
      processor_(engine == Engine::Best && ProcessorHasShaInstructions()) {}

void Sha256::Compress(const unsigned char* blocks, std::size_t count) {
#ifdef KX_SHA_INSTRUCTIONS
    if (processor_) {
        CompressWithProcessor(state_, blocks, count);
        return;
    }
#endif
    for (; count > 0; --count, blocks += 64) CompressPortably(blocks);
}

void Sha256::CompressPortably(const unsigned char* block) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
        w[i] = static_cast<std::uint32_t>(block[4 * i]) << 24 | static_cast<std::uint32_t>(block[4 * i + 1]) << 16 |
               static_cast<std::uint32_t>(block[4 * i + 2]) << 8 | static_cast<std::uint32_t>(block[4 * i + 3]);
    }
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = RotateRight(w[i - 15], 7) ^ RotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = RotateRight(w[i - 2], 17) ^ RotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    std::uint32_t e = state_[4], f = state_[5], g = state_[6], h = state_[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 =
            h + (RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25)) + ((e & f) ^ (~e & g)) + kRound[i] + w[i];
        const std::uint32_t t2 = (RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
    state_[4] += e;
    state_[5] += f;
    state_[6] += g;
    state_[7] += h;
}

Sha256& Sha256::Add(std::string_view bytes) {
    if (bytes.empty()) return *this;
    length_ += bytes.size();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    if (used_ > 0) {  // a block begun before is filled up first
        const std::size_t take = left < 64 - used_ ? left : 64 - used_;
        std::memcpy(block_ + used_, data, take);
        used_ += take;
        data += take;
        left -= take;
        if (used_ < 64) return *this;
        Compress(block_, 1);
        used_ = 0;
    }
    // Whole blocks straight from the bytes, the rest kept for later.
    Compress(data, left / 64);
    data += left / 64 * 64;
    left %= 64;
    std::memcpy(block_, data, left);
    used_ = left;
    return *this;
}

std::string Sha256::HexDigest() {
    const std::uint64_t bits = length_ * 8;
    // One 0x80 byte, zeros up to 56 bytes into a block, the length in bits.
    const unsigned char pad[64] = {0x80};
    Add(std::string_view(reinterpret_cast<const char*>(pad), used_ < 56 ? 56 - used_ : 120 - used_));
    unsigned char size[8];
    for (int i = 0; i < 8; ++i) size[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    Add(std::string_view(reinterpret_cast<const char*>(size), 8));
    std::string hex;
    hex.reserve(64);
    for (const std::uint32_t word : state_) {
        for (int shift = 28; shift >= 0; shift -= 4) hex += LowerAscii(kUpperHexDigits[(word >> shift) & 0xF]);
    }
    return hex;
}

}  // namespace kx
