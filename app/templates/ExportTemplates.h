// Writes the built-in templates into a folder as files a person edits.
#pragma once

#include <string>
#include <vector>

#include "ProgramTexts.h"
#include "KxTypes.h"

namespace kx {

// The guide's file name: what each exported file becomes.
inline constexpr char kGuideFileName[] = KX_TEXT_GUIDE_FILE_NAME;

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
