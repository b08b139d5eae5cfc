// Just enough of a PE reader to see what a loader and a script's dllcall see
// in a DLL: machine, export directory and imported DLL names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kx {

class PeFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PeImage {
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint16_t optionalMagic = 0;
    std::string exportDllName;
    std::uint32_t exportBase = 0;
    std::uint32_t exportFunctionCount = 0;
    // Address of each exported function by ordinal; 0 for a gap in the table.
    // Both maps hold the first 16 entries of their tables at most.
    std::map<std::uint32_t, std::uint32_t> addressesByOrdinal;
    std::map<std::string, std::uint32_t> ordinalsByName;
    std::vector<std::string> importedDlls;
};

// Throws PeFormatError naming the first thing that does not fit. Only 32-bit
// images (PE32) are read; a DLL without an export directory does not fit.
PeImage ReadPeImage(const unsigned char* data, std::size_t size);

inline PeImage ReadPeImage(const std::vector<std::uint8_t>& bytes) {
    return ReadPeImage(bytes.data(), bytes.size());
}
inline PeImage ReadPeImage(const std::string& bytes) {
    return ReadPeImage(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace kx
