// What every kxgen command says on standard error, and how it turns a
// folder of the command line into a path for the workflow.
#pragma once

#include <optional>
#include <string>

#include "CliTexts.h"
#include "Console.h"

namespace kx::cli {

// One line: "kxgen: message".
void Tell(const std::string& message);

// The message, the synopsis and the hint to --help; returns the exit code
// of a wrong command line.
int UsageFailure(Language language, const std::string& message);

// An argument or a typed line that is not in the terminal's character set.
int NotInCharset(Language language, Text text, const BadText& bad);

// A folder of the command line, absolute and in ANSI; nullopt after saying
// that code page 936 cannot spell it (the current folder included).
std::optional<AnsiString> FolderArgument(Language language, const std::string& argument);

}  // namespace kx::cli
