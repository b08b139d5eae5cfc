// The program's PE reader, for checking what the loader will see in
// GetPointXY.dll, and reading the file it is checked in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "templates/PeImage.h"

namespace kx::test {

using kx::PeFormatError;
using kx::PeImage;

inline PeImage ReadPeImage(const std::vector<std::uint8_t>& bytes) { return kx::ReadPeImage(bytes); }

// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace kx::test
