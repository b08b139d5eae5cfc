#include "PathLimits.h"

#include <limits.h>
#include <unistd.h>

#include "NativePath.h"
#include "PathSplit.h"

namespace kx {

namespace {

PathFit CheckPathFits(const std::string& nativeFolder, std::size_t nameMax, const AnsiString& folder,
                      const AnsiString& relative) {
    const std::string whole = nativeFolder + kPathSeparator + NativePath(relative);

    PathFit fit;
    fit.path = folder + kPathSeparator + relative;
    std::size_t start = nativeFolder.size() + 1;
    while (start <= whole.size()) {
        std::size_t end = whole.find('/', start);
        if (end == std::string::npos) end = whole.size();
        if (end - start > nameMax) {
            fit.fits = false;
            fit.nameTooLong = true;
            fit.length = end - start;
            fit.limit = nameMax;
            return fit;
        }
        start = end + 1;
    }
    // PATH_MAX counts the terminating zero.
    if (whole.size() >= PATH_MAX) {
        fit.fits = false;
        fit.length = whole.size();
        fit.limit = PATH_MAX - 1;
    }
    return fit;
}

}  // namespace

PathFit FirstPathTooLong(const AnsiString& folder, const std::vector<PathBelow>& paths) {
    const std::string nativeFolder = NativePath(folder);
    const long named = ::pathconf(nativeFolder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = named > 0 ? static_cast<std::size_t>(named) : NAME_MAX;
    for (const PathBelow& path : paths) {
        PathFit fit = CheckPathFits(nativeFolder, nameMax, folder, path.relative);
        if (!fit.fits) return fit;
    }
    return PathFit();
}

}  // namespace kx
