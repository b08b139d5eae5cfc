// Prints a folder and everything below it as a tree.
#pragma once

#include <cstdio>

#include "UnitFunction.h"

namespace kx::cli {

void PrintProjectTree(std::FILE* stream, const AnsiString& folder);

}  // namespace kx::cli
