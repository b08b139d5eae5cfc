#include "ProjectPaths.h"

#include "Texts.h"

namespace kx {

ProjectPaths ProjectPathsFor(const AnsiString& outputRoot, const AnsiString& name) {
    const AnsiString folder = outputRoot + "\\" + name;
    return {folder, folder + "\\" + name, folder + "\\" + texts::kBuildFolderName,
            folder + "\\" + name + ".kxproj"};
}

}  // namespace kx
