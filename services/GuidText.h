// The 38-character GUID text of NewGuidText.
#pragma once

#include <cstdint>

#include "KxTypes.h"

namespace kx {

struct GuidFields {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};

// The fields of a GUID stored as 16 bytes in the Windows memory layout (the
// three numeric fields little-endian, the last eight bytes in order).
GuidFields GuidFromBytes(const unsigned char (&bytes)[16]);

// A version-4 (random) GUID from 16 random bytes: the version nibble becomes 4
// and the variant bits 10.
GuidFields RandomGuid(const unsigned char (&randomBytes)[16]);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the numeric fields most significant
// digit first, the last eight bytes in stored order; digits 0-9 and A-F.
AnsiString FormatGuidText(const GuidFields& guid);

}  // namespace kx
