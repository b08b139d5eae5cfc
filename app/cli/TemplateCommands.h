// kxgen's template options: export the built-in set, check a folder, and
// load a folder for one generation. Each prints its own messages, in the
// user's language, on standard error.
#pragma once

#include <memory>

#include "Language.h"
#include "UnitFunction.h"
#include "templates/TemplateSet.h"

namespace kx::cli {

// Exit status: 0 written, 1 refused or failed. Standard output gets the path
// of each file written.
int ExportTemplatesCommand(const AnsiString& folder, bool force, Language language);

// Exit status: 0 clean, 1 with findings (warnings included). Writes nothing.
int CheckTemplatesCommand(const AnsiString& folder, Language language);

// Reads and checks the folder for a generation and says what it found. On a
// refusal nothing is returned and the exit status is 1.
std::unique_ptr<TemplateSet> LoadTemplatesCommand(const AnsiString& folder, Language language);

}  // namespace kx::cli
