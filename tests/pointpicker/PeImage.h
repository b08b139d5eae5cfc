// Just enough of a PE reader to check what the loader will see in
// GetPointXY.dll: machine, export directory and imported DLL names.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace kx::test {

class PeFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct PeImage {
    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint16_t optionalMagic = 0;
    std::string exportDllName;
    std::uint32_t exportFunctionCount = 0;
    std::map<std::string, std::uint32_t> ordinalsByName;
    std::vector<std::string> importedDlls;
};

// Throws PeFormatError naming the first thing that does not fit.
PeImage ReadPeImage(const std::vector<std::uint8_t>& bytes);

// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace kx::test
