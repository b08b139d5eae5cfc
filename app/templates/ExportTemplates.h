// Writes the built-in templates into a folder as files a person edits.
#pragma once

#include <string>
#include <vector>

#include "UnitFunction.h"

namespace kx {

// "说明.txt": what each exported file becomes.
inline constexpr char kGuideFileName[] = "\xCB\xB5\xC3\xF7.txt";

struct ExportResult {
    std::vector<AnsiString> written;  // file names, in the order written
    std::vector<AnsiString> existing;  // files in the way without force: nothing was written
    std::string problem;               // UTF-8; empty when the export went through
};

// The five text templates as UTF-8 with a byte-order mark and CR LF, the DLL
// byte for byte, and the guide. Creates folder (one level) when missing. Every
// target is looked at before the first file is written: without force an
// existing one stops the export. Errors of the text writers are not caught.
ExportResult ExportTemplates(const AnsiString& folder, bool force);

// Every file name ExportTemplates writes.
std::vector<AnsiString> ExportedFileNames();

}  // namespace kx
