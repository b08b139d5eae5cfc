// Reading whole files and asking whether a path is taken, on ANSI paths: the
// user's own template folder is read through these.
#pragma once

#include <string>

#include "KxTypes.h"

namespace kx {

enum class ReadOutcome {
    Read,     // bytes holds the whole file
    Missing,  // nothing at the path
    Failed,   // something is there but it is no readable file (a folder, no permission, ...)
};

struct FileContents {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string bytes;
};

// The whole file, read once. A path that is not intact (PathRules.h) names
// another file and counts as Failed.
FileContents ReadFileContents(const AnsiString& path);

// True when anything (file, folder, link) is at path; a link is not followed.
bool PathTaken(const AnsiString& path);

// Creates or truncates path and writes bytes to it; false on any failure
// (never throws). An empty bytes still creates an empty file.
bool WriteBytesToFile(const AnsiString& path, const std::string& bytes);

}  // namespace kx
