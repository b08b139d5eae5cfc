// The command line of kxgen.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kx::cli {

struct CliOptions {
    std::optional<std::string> name;  // as typed, in the terminal's encoding
    std::optional<std::string> root;
    bool yes = false;
    bool open = true;
    bool help = false;
    bool version = false;
    std::optional<std::string> exportTemplates, templates, checkTemplates;  // folders
    bool force = false;
};

struct ParseResult {
    CliOptions options;
    std::string error;  // empty when the command line is fine
};

ParseResult ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace kx::cli
