// Where a project's folders and its project file go, built in one place for
// the step that makes the folders and the step that fills them.
#pragma once

#include "KxTypes.h"

namespace kx {

struct ProjectPaths {
    AnsiString folder;        // <output root>\<name> (with the platform's separator)
    AnsiString sourceFolder;  // <folder>\<name>: the scripts and the window file
    AnsiString buildFolder;   // <folder>\生成: the point picker's DLL
    AnsiString projectFile;   // <folder>\<name>.kxproj
};

// The name is used as typed: it has passed CheckProjectName.
ProjectPaths ProjectPathsFor(const AnsiString& outputRoot, const AnsiString& name);

}  // namespace kx
