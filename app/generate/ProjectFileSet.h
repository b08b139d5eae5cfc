// The text files of a new project: which template becomes which file, with
// which form of the name and which encoding. The DLL is written straight
// from its template (TemplateSource::WriteDll).
#pragma once

#include <string>
#include <vector>

#include "SubstituteProjectName.h"
#include "TemplateSource.h"

namespace kx {

// How a text file is written: the scripts and the project file as UTF-8,
// the window file as UTF-16LE, each with its byte-order mark.
enum class TextEncoding { Utf8, Utf16Le };

struct ProjectTextFile {
    AnsiString relativePath;  // inside the project folder, joined with kPathSeparator
    std::string bytes;        // the whole file, encoded, byte-order mark included
    TextEncoding encoding = TextEncoding::Utf8;
};

// Relative to the project folder: where the point picker goes.
AnsiString DllRelativePath();

// The six text files in writing order, each with its bytes; a template that
// is empty (missing) gives no file, as the writers write nothing for an
// empty text. guidText is the main script's identifier. Throws
// ConversionError when a text cannot be converted at all.
std::vector<ProjectTextFile> ProjectTextFiles(const TemplateSource& templates, const AnsiString& name,
                                              const AnsiString& guidText);

// The forms of name for a project of these templates (NameFormsFor).
ProjectNameForms ProjectNameFormsFor(const TemplateSource& templates, const AnsiString& name);

// The same with the forms decided already: a project that is updated keeps
// the forms it was made with, whatever words the templates have now.
// forms.typed is the name.
std::vector<ProjectTextFile> ProjectTextFiles(const TemplateSource& templates, const ProjectNameForms& forms,
                                              const AnsiString& guidText);

}  // namespace kx
