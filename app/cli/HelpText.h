// kxgen --help in one language: the usage lines, the options in two aligned
// columns made from the option table, and the closing sections.
#pragma once

#include <cstddef>
#include <string>

#include "CliOptions.h"

namespace kx::cli {

// Every line of the help fits this many columns (TextWidth.h).
inline constexpr std::size_t kHelpColumns = 80;

// The help's left column for an option: "-y, --yes", "--root DIR",
// "NAME, --name NAME".
std::string OptionLabel(const Option& option, Language language);

std::string HelpText(Language language);

}  // namespace kx::cli
