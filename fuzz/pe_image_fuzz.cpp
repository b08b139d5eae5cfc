// The check of the GetPointXY.dll a user puts into a template folder, fed any
// bytes, held to a reference read from the PE format alone:
//   - the reader returns or throws PeFormatError, nothing else, and reads
//     nothing outside the input (the sanitizers and the exact-size buffers of
//     libFuzzer and the replay see to that);
//   - the check passes the bytes only when they hold what a 32-bit loader and
//     a script's dllcall need: an MZ header, "PE\0\0" at e_lfanew, machine
//     i386, a PE32 optional header, the DLL flag, a data directory 0 the
//     optional header says it has, and an export directory lying in one
//     section's data whose ordinals, counted from the base without wrapping,
//     cover 1 and 2 with addresses that are not zero;
//   - and once the reader has made sense of the whole file, the check passes
//     exactly the bytes the reference passes.
// Offsets in the reference are 64-bit, so a huge field points past the input
// instead of wrapping back into it.
#include <exception>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "templates/PeImage.h"
#include "templates/TemplateChecks.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Holds(std::uint64_t offset, std::uint64_t width) const {
        return offset <= size_ && width <= size_ - offset;
    }

    // A little-endian field; nothing when it does not lie wholly in the input.
    std::optional<std::uint32_t> Field(std::uint64_t offset, unsigned width) const {
        if (!Holds(offset, width)) return std::nullopt;
        std::uint32_t value = 0;
        for (unsigned i = width; i-- > 0;) value = value << 8 | data_[offset + i];
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// The image as a loader maps it: an address belongs to the one section whose
// range holds it, and has bytes only where that section has data in the file.
class Sections {
public:
    Sections(const Input& in, std::uint64_t table, std::uint32_t count)
        : in_(in), table_(table), count_(count) {}

    // Where the width bytes at rva are in the input; nothing when no section,
    // or more than one, holds rva, or when they run past the section's range,
    // its data, the input or 4 GB.
    std::optional<std::uint64_t> Offset(std::uint64_t rva, std::uint64_t width) const {
        if (rva + width > 0x100000000u) return std::nullopt;  // an RVA has 32 bits
        std::optional<std::uint64_t> offset;
        for (std::uint32_t i = 0; i < count_; ++i) {
            const std::uint64_t header = table_ + 40ull * i;
            const auto virtualSize = in_.Field(header + 8, 4), start = in_.Field(header + 12, 4);
            const auto rawSize = in_.Field(header + 16, 4), rawStart = in_.Field(header + 20, 4);
            if (!virtualSize || !start || !rawSize || !rawStart) return std::nullopt;
            const std::uint64_t span = *virtualSize != 0 ? *virtualSize : *rawSize;
            if (rva < *start || rva >= *start + span) continue;
            if (offset) return std::nullopt;
            const std::uint64_t into = rva - *start;
            if (into + width > span || into + width > *rawSize) return std::nullopt;
            offset = *rawStart + into;
        }
        if (!offset || !in_.Holds(*offset, width)) return std::nullopt;
        return offset;
    }

    std::optional<std::uint32_t> Field(std::uint64_t rva, unsigned width) const {
        const auto offset = Offset(rva, width);
        if (!offset) return std::nullopt;
        return in_.Field(*offset, width);
    }

private:
    const Input& in_;
    std::uint64_t table_;
    std::uint32_t count_;
};

bool HoldsPointPickerDll(const Input& in) {
    if (in.Field(0, 2) != 0x5A4Du) return false;
    const auto lfanew = in.Field(0x3C, 4);
    if (!lfanew || in.Field(*lfanew, 4) != 0x4550u) return false;
    const std::uint64_t coff = *lfanew + 4ull, optional = coff + 20;
    if (in.Field(coff, 2) != 0x14Cu) return false;
    const auto characteristics = in.Field(coff + 18, 2);
    if (!characteristics || (*characteristics & 0x2000u) == 0) return false;
    if (in.Field(optional, 2) != 0x10Bu) return false;

    const auto sectionCount = in.Field(coff + 2, 2), optionalSize = in.Field(coff + 16, 2);
    const auto directoryCount = in.Field(optional + 92, 4);
    if (!sectionCount || !optionalSize || !directoryCount) return false;
    if (*directoryCount < 1 || *optionalSize < 96 + 8) return false;
    const auto exports = in.Field(optional + 96, 4);
    if (!exports || *exports == 0) return false;

    const Sections image(in, optional + *optionalSize, *sectionCount);
    if (!image.Offset(*exports, 40)) return false;
    const auto base = image.Field(*exports + 16ull, 4), count = image.Field(*exports + 20ull, 4);
    const auto table = image.Field(*exports + 28ull, 4);
    if (!base || !count || !table) return false;
    if (*base > 1 || std::uint64_t{*base} + *count < 3) return false;
    for (std::uint32_t ordinal : {1u, 2u}) {
        const auto address = image.Field(*table + 4ull * (ordinal - *base), 4);
        if (!address || *address == 0) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader straight over the fuzzer's exact-size buffer: the check's
    // string copy ends in a NUL that would hide a read one byte too far.
    bool readWhole = false;
    try {
        kx::ReadPeImage(data, size);
        readWhole = true;
    } catch (const kx::PeFormatError&) {
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ReadPeImage threw: %s\n", e.what());
        kx::fuzz::Fail("ReadPeImage throws nothing but PeFormatError", __FILE__, __LINE__);
    }
    const bool passed = !kx::PointPickerDllProblem(std::string(reinterpret_cast<const char*>(data), size));
    const bool holds = HoldsPointPickerDll(Input(data, size));
    if (passed) KX_FUZZ_CHECK(holds);
    if (readWhole) KX_FUZZ_CHECK(passed == holds);
    return 0;
}
