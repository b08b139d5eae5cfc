// What kxgen says about a template finding, in the user's language.
#pragma once

#include <string>

#include "Language.h"
#include "templates/TemplateChecks.h"

namespace kx::cli {

// The finding's message, without the file and the line.
std::string FindingMessage(const Finding& finding, Language language);

}  // namespace kx::cli
