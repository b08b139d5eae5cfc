// Writes the built-in templates into a folder as files a person edits.
#pragma once

#include <string>
#include <vector>

#include "ProgramTexts.h"
#include "KxTypes.h"

namespace kx {

// The guide's file name: what each exported file becomes.
inline constexpr char kGuideFileName[] = KX_TEXT_GUIDE_FILE_NAME;

// Why an export stopped.
enum class ExportProblem {
    None,              // it went through
    PathIsFile,        // the folder's path names a file: nothing was written
    FolderNotCreated,  // the folder cannot be made (systemError): nothing was written
    TemplateMissing,   // this build lacks the built-in template file: nothing was written
    DllNotWritten,     // GetPointXY.dll cannot be written (file)
    GuideNotWritten,   // the guide cannot be written (file)
};

struct ExportResult {
    std::vector<AnsiString> written;  // file names, in the order written
    std::vector<AnsiString> existing;  // files in the way without force: nothing was written
    ExportProblem problem = ExportProblem::None;
    AnsiString file;       // the file name the problem concerns, where one does
    int systemError = 0;   // the system's error number, where it said why
};

// The five text templates as UTF-8 with a byte-order mark and CR LF, the DLL
// byte for byte, and the guide. Creates folder (one level) when missing. Every
// target is looked at before the first file is written: without force an
// existing one stops the export. Errors of the text writers are not caught.
ExportResult ExportTemplates(const AnsiString& folder, bool force);

// Every file name ExportTemplates writes.
std::vector<AnsiString> ExportedFileNames();

}  // namespace kx
