// The text files of a new project: which template becomes which file, with
// which form of the name and which encoding. The DLL is written straight
// from its template (TemplateSource::WriteDll).
#pragma once

#include <string>
#include <vector>

#include "TemplateSource.h"

namespace kx {

struct ProjectTextFile {
    AnsiString relativePath;  // inside the project folder, joined with kPathSeparator
    std::string bytes;        // the whole file, encoded, byte-order mark included
};

// Relative to the project folder: where the point picker goes.
AnsiString DllRelativePath();

// The six text files in writing order, each with its bytes; a template that
// is empty (missing) gives no file, as the writers write nothing for an
// empty text. guidText is the main script's identifier. Throws
// ConversionError when a text cannot be converted at all.
std::vector<ProjectTextFile> ProjectTextFiles(const TemplateSource& templates, const AnsiString& name,
                                              const AnsiString& guidText);

}  // namespace kx
