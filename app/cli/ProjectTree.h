// A folder and everything below it as a tree, ready to print in one piece.
#pragma once

#include <string>

#include "UnitFunction.h"

namespace kx::cli {

// The folder's path on the first line, then one line per entry; UTF-8, with
// control characters in names shown escaped.
std::string ProjectTreeText(const AnsiString& folder);

}  // namespace kx::cli
