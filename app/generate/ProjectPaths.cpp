#include "ProjectPaths.h"

#include "PathSplit.h"
#include "Texts.h"

namespace kx {

ProjectPaths ProjectPathsFor(const AnsiString& outputRoot, const AnsiString& name) {
    const AnsiString folder = outputRoot + kPathSeparator + name;
    return {folder, folder + kPathSeparator + name, folder + kPathSeparator + texts::kBuildFolderName,
            folder + kPathSeparator + name + ".kxproj"};
}

}  // namespace kx
