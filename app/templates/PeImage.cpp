#include "PeImage.h"

#include <algorithm>
#include <iterator>

namespace kx {
namespace {

// Offsets into the file, 64-bit in the 32-bit program too: a section's file
// offset plus a distance into it must not wrap back into the file.
using Position = std::uint64_t;

// A DLL's name is a file name: a loader finds no file by a longer one (MAX_PATH).
constexpr std::size_t kFileNameLimit = 260;
// Export names may be long decorated C++ names; this leaves them room.
constexpr std::size_t kExportNameLimit = 4096;
// Entries read from the export tables: a damaged count must not make them
// walk for ever.
constexpr std::uint32_t kTableLimit = 16;

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    std::uint32_t U16(Position offset) const { return Byte(offset) | Byte(offset + 1) << 8; }
    std::uint32_t U32(Position offset) const { return U16(offset) | U16(offset + 2) << 16; }

    // Damaged tables can point every entry at one long run of bytes: a name
    // ends within limit bytes, or the file is refused.
    std::string CString(Position offset, std::size_t limit) const {
        std::string text;
        for (std::uint8_t c; (c = static_cast<std::uint8_t>(Byte(offset))) != 0; ++offset) {
            if (text.size() == limit) {
                throw PeFormatError("a name at offset " + std::to_string(offset - limit) + " is longer than " +
                                    std::to_string(limit) + " bytes");
            }
            text += static_cast<char>(c);
        }
        return text;
    }

private:
    std::uint32_t Byte(Position offset) const {
        if (offset >= size_) {
            throw PeFormatError("read past the end of the file at offset " + std::to_string(offset));
        }
        return data_[static_cast<std::size_t>(offset)];
    }

    const unsigned char* data_;
    std::size_t size_;
};

struct Section {
    std::uint32_t rva, size, rawSize, fileOffset;
};

class Layout {
public:
    Layout(const Reader& in, Position table, std::uint32_t count) {
        std::uint64_t end = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            const Position at = table + 40 * i;
            const std::uint32_t virtualSize = in.U32(at + 8);
            const std::uint32_t rawSize = in.U32(at + 16);
            const Section s{in.U32(at + 12), virtualSize ? virtualSize : rawSize, rawSize, in.U32(at + 20)};
            // A loader maps sections in ascending order, one after the other;
            // where two would claim an address it refuses the image.
            if (s.rva < end) throw PeFormatError("section " + std::to_string(i + 1) + " overlaps the one before");
            end = std::uint64_t{s.rva} + s.size;
            if (end > 0x100000000u) throw PeFormatError("section " + std::to_string(i + 1) + " ends past 4 GB");
            sections_.push_back(s);
        }
    }

    // File offset of the width bytes at rva, all of them in one section. What
    // lies past a section's data in the file is zeros in memory, not the bytes
    // that follow in the file. The sections are in order: a search, not a
    // walk, so that many import descriptors over many sections stay quick.
    Position Offset(std::uint64_t rva, std::uint32_t width) const {
        const auto after = std::upper_bound(sections_.begin(), sections_.end(), rva,
                                            [](std::uint64_t r, const Section& s) { return r < s.rva; });
        if (after == sections_.begin() || rva - std::prev(after)->rva >= std::prev(after)->size) {
            throw PeFormatError("RVA " + std::to_string(rva) + " lies in no section");
        }
        const Section& s = *std::prev(after);
        if (rva - s.rva + width > std::min(s.size, s.rawSize)) {
            throw PeFormatError("RVA " + std::to_string(rva) + " runs past the end of its section");
        }
        return Position{s.fileOffset} + (rva - s.rva);
    }

private:
    std::vector<Section> sections_;
};

void ReadExports(const Reader& in, const Layout& layout, std::uint32_t rva, PeImage& image) {
    if (rva == 0) throw PeFormatError("no export directory");
    const Position dir = layout.Offset(rva, 40);
    image.exportDllName = in.CString(layout.Offset(in.U32(dir + 12), 1), kFileNameLimit);
    const std::uint32_t base = in.U32(dir + 16);
    image.exportBase = base;
    image.exportFunctionCount = in.U32(dir + 20);
    const std::uint64_t functions = in.U32(dir + 28);
    // Ordinals do not wrap: past the largest one there are none.
    for (std::uint32_t i = 0; i < image.exportFunctionCount && i < kTableLimit && base <= UINT32_MAX - i; ++i) {
        image.addressesByOrdinal[base + i] = in.U32(layout.Offset(functions + 4ull * i, 4));
    }
    const std::uint32_t nameCount = in.U32(dir + 24);
    const std::uint64_t names = in.U32(dir + 32);
    const std::uint64_t ordinals = in.U32(dir + 36);
    for (std::uint32_t i = 0; i < nameCount && i < kTableLimit; ++i) {
        const std::string name =
            in.CString(layout.Offset(in.U32(layout.Offset(names + 4ull * i, 4)), 1), kExportNameLimit);
        image.ordinalsByName[name] = base + in.U16(layout.Offset(ordinals + 2ull * i, 2));
    }
}

void ReadImports(const Reader& in, const Layout& layout, std::uint32_t rva, PeImage& image) {
    if (rva == 0) return;
    for (std::uint64_t descriptor = rva;; descriptor += 20) {
        const std::uint32_t name = in.U32(layout.Offset(descriptor, 20) + 12);
        if (name == 0) break;
        image.importedDlls.push_back(in.CString(layout.Offset(name, 1), kFileNameLimit));
    }
}

}  // namespace

PeImage ReadPeImage(const unsigned char* data, std::size_t size) {
    const Reader in(data, size);
    if (in.U16(0) != 0x5A4D) throw PeFormatError("no MZ signature");
    const Position pe = in.U32(0x3C);
    if (in.U32(pe) != 0x00004550) throw PeFormatError("no PE signature");

    PeImage image;
    const Position coff = pe + 4;
    image.machine = static_cast<std::uint16_t>(in.U16(coff));
    const std::uint32_t sectionCount = in.U16(coff + 2);
    const std::uint32_t optionalSize = in.U16(coff + 16);
    image.characteristics = static_cast<std::uint16_t>(in.U16(coff + 18));

    const Position optional = coff + 20;
    image.optionalMagic = static_cast<std::uint16_t>(in.U16(optional));
    if (image.optionalMagic != 0x10B) throw PeFormatError("not a PE32 optional header");
    // A data directory the optional header does not count is not there, a
    // loader does not look at the bytes where it would be.
    const std::uint32_t directoryCount = in.U32(optional + 92);
    const auto directory = [&](std::uint32_t index) -> std::uint32_t {
        if (index >= directoryCount || 96 + 8 * (index + 1) > optionalSize) return 0;
        return in.U32(optional + 96 + 8 * index);
    };

    const Layout layout(in, optional + optionalSize, sectionCount);
    ReadExports(in, layout, directory(0), image);
    ReadImports(in, layout, directory(1), image);
    return image;
}

}  // namespace kx
