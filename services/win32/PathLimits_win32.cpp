#include <windows.h>

#include "CodePage.h"
#include "PathLimits.h"
#include "PathSplit.h"

namespace kx {

namespace {

// The components' limit of every file system a project goes to (NTFS, FAT32
// with long names, exFAT).
constexpr std::size_t kNameMax = 255;
// CreateDirectoryA leaves room for an 8.3 name of 12 characters.
constexpr std::size_t kFolderRoom = 12;

// Length in UTF-16 units, the units of the limits below the ANSI calls.
std::size_t Units(const AnsiString& text) { return DecodeAnsi(text, AnsiPage::System).size(); }

PathFit CheckPathFits(const AnsiString& folder, const AnsiString& relative, bool isFolder) {
    PathFit fit;
    fit.path = folder + kPathSeparator + relative;
    // Component by component, by GBK characters: the 5C of a double-byte
    // character (乗 is 81 5C) separates nothing.
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = start;
        while (end < relative.size() && relative[end] != kPathSeparator) end += GbkCharLength(relative, end);
        const std::size_t units = Units(relative.substr(start, end - start));
        if (units > kNameMax) {
            fit.fits = false;
            fit.nameTooLong = true;
            fit.length = units;
            fit.limit = kNameMax;
            return fit;
        }
        start = end + 1;
    }
    // MAX_PATH counts the terminating zero.
    const std::size_t limit = (isFolder ? MAX_PATH - kFolderRoom : MAX_PATH) - 1;
    const std::size_t units = Units(fit.path);
    if (units > limit) {
        fit.fits = false;
        fit.length = units;
        fit.limit = limit;
    }
    return fit;
}

}  // namespace

PathFit FirstPathTooLong(const AnsiString& folder, const std::vector<PathBelow>& paths) {
    for (const PathBelow& path : paths) {
        PathFit fit = CheckPathFits(folder, path.relative, path.isFolder);
        if (!fit.fits) return fit;
    }
    return PathFit();
}

}  // namespace kx
