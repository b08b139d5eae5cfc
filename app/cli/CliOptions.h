// The command line of kxgen: a table of options and at most one project name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kx::cli {

struct CliOptions {
    std::optional<std::string> name;  // as typed, in UTF-8
    std::optional<std::string> root;
    bool yes = false;
    bool open = true;
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> exportTemplates, templates, checkTemplates;  // folders
    bool force = false;
    std::optional<std::string> update;  // the name of the project to update, as typed
    bool dryRun = false;
};

enum class UsageError {
    None,
    UnknownOption,    // subject: the argument
    MissingValue,     // subject: the option
    UnexpectedValue,  // subject: the option, given with "=value"
    EmptyFolder,      // subject: the option
    NameTwice,        // subject: the second name
    TemplateOptions,  // subject: the option that does not go with the others
    UpdateOptions,    // subject: the option that does not go with --update (or --dry-run without it)
};

struct ParseResult {
    CliOptions options;
    UsageError error = UsageError::None;
    std::string subject;  // what the error is about, as typed
};

// Options may come before or after the name; "--" ends the options, so that
// a name may start with "-".
ParseResult ParseCommandLine(const std::vector<std::string>& args);

}  // namespace kx::cli
