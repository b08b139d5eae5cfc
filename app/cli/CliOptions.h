// The command line of kxgen: one table of options, each with its help in
// both languages, and at most one project name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "Language.h"

namespace kx::cli {

struct CliOptions {
    std::optional<std::string> name;  // UTF-8
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
    UnknownOption,     // subject: the option as typed (one letter of a group: "-x")
    MissingValue,      // subject: the option
    UnexpectedValue,   // subject: the option, given with "=value"
    EmptyFolder,       // subject: the option
    NameTwice,         // subject: the second name
    CommandsTogether,  // subject: the second of the template commands
    ForceAlone,        // subject: "--force"
    UpdateOptions,     // subject: what does not go with --update (or "--dry-run" without it)
};

// What an option's argument is, for parsing and for the help's left column.
enum class OptionValue {
    None,
    Name,    // NAME; the option's value may also come alone, without the option
    Project, // NAME, after its option only
    Folder,  // DIR
};

struct Option {
    const char* longName;  // "--root"
    char shortName;        // 'y' for "-y"; 0 for none
    OptionValue value;
    UsageError (*apply)(CliOptions& options, const std::string& value);
    // What --help says, by Language; a line break starts a continuation line.
    const char* help[kLanguages];
};

// Every option once, in the order --help lists them. A new option is one row
// here and a field of CliOptions.
struct OptionTable {
    const Option* begin() const;
    const Option* end() const;
};
inline OptionTable Options() { return {}; }

struct ParseResult {
    CliOptions options;
    UsageError error = UsageError::None;
    std::string subject;  // what the error is about, as typed
};

// Options may come before or after the name. Short options may be grouped
// ("-yq"); a value follows its option as the next argument or after "="
// ("--root=DIR", "--root DIR"); "--" ends the options, so that a name may
// start with "-".
ParseResult ParseCommandLine(const std::vector<std::string>& args);

}  // namespace kx::cli
