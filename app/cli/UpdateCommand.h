// kxgen --update: brings the templates' changes into a project, and says
// what it did. The workflow is app/update; this only wires it to the
// command line and the terminal.
#pragma once

#include "CliOptions.h"
#include "Language.h"

namespace kx::cli {

// Runs the update options asks for and reports it; returns the exit code.
int UpdateCommand(const CliOptions& options, Language language);

}  // namespace kx::cli
