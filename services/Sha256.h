// SHA-256 (FIPS 180-4), for the fingerprints a project's record keeps: the
// template set it was made from and each file as written. Our own, as the
// program links no library for it; checked against the standard's vectors
// and sha256sum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

class Sha256 {
public:
    // How the blocks are compressed: with the processor's SHA instructions
    // where it has them (x86), else portably; Portable always portably.
    enum class Engine { Best, Portable };

    explicit Sha256(Engine engine = Engine::Best);
    // Whether Engine::Best uses the processor's instructions here.
    static bool ProcessorHasShaInstructions();
    // Adds bytes to the message; may be called any number of times.
    Sha256& Add(std::string_view bytes);
    // The digest of everything added, as 64 lower-case hexadecimal digits.
    // The object is spent afterwards.
    std::string HexDigest();

private:
    // Compresses count blocks of 64 bytes.
    void Compress(const unsigned char* blocks, std::size_t count);
    void CompressPortably(const unsigned char* block);

    std::uint32_t state_[8];
    unsigned char block_[64];
    std::size_t used_ = 0;       // bytes waiting in block_
    std::uint64_t length_ = 0;   // bytes added in all
    bool processor_ = false;     // compress with the processor's instructions
};

// The hexadecimal digest of bytes.
inline std::string Sha256Hex(std::string_view bytes) { return Sha256().Add(bytes).HexDigest(); }

}  // namespace kx
