// kxgen's template options: export the built-in set, check a folder, and
// load a folder for one generation. Each prints its own messages.
#pragma once

#include <memory>
#include <string>

#include "templates/TemplateSet.h"

namespace kx::cli {

// Exit status: 0 written, 1 refused or failed, 2 a folder argument code page 936 cannot spell.
int ExportTemplatesCommand(const std::string& folderArgument, bool force);

// Exit status: 0 clean, 1 with findings (warnings included), 2 as above.
int CheckTemplatesCommand(const std::string& folderArgument);

// Reads and checks the folder for a generation and prints what it found. On
// a refusal nothing is returned and *status is 1 (2 for the argument).
std::unique_ptr<TemplateSet> LoadTemplatesCommand(const std::string& folderArgument, int* status);

}  // namespace kx::cli
