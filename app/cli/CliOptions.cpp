#include "CliOptions.h"

#include <cstring>

namespace kx::cli {

namespace {

// What an option does to the options; returns the error it finds.
using Apply = UsageError (*)(CliOptions&, const std::string& value);

struct Option {
    const char* longName;   // "--root"
    const char* shortName;  // "-y", or nullptr
    bool takesValue;
    Apply apply;
};

UsageError SetName(CliOptions& options, const std::string& value) {
    if (options.name) return UsageError::NameTwice;
    options.name = value;
    return UsageError::None;
}

UsageError SetRoot(CliOptions& options, const std::string& value) {
    options.root = value;
    return value.empty() ? UsageError::EmptyFolder : UsageError::None;
}

template <std::optional<std::string> CliOptions::*folder>
UsageError SetFolder(CliOptions& options, const std::string& value) {
    options.*folder = value;
    return value.empty() ? UsageError::EmptyFolder : UsageError::None;
}

// The name is checked by the update itself, as a typed name is by a generation.
UsageError SetUpdate(CliOptions& options, const std::string& value) {
    options.update = value;
    return UsageError::None;
}

template <bool CliOptions::*flag, bool value>
UsageError SetFlag(CliOptions& options, const std::string&) {
    options.*flag = value;
    return UsageError::None;
}

// Each option once, in the order --help lists them.
const Option kOptions[] = {
    {"--name", nullptr, true, SetName},
    {"--root", nullptr, true, SetRoot},
    {"--yes", "-y", false, SetFlag<&CliOptions::yes, true>},
    {"--no-open", nullptr, false, SetFlag<&CliOptions::open, false>},
    {"--quiet", "-q", false, SetFlag<&CliOptions::quiet, true>},
    {"--export-templates", nullptr, true, SetFolder<&CliOptions::exportTemplates>},
    {"--templates", nullptr, true, SetFolder<&CliOptions::templates>},
    {"--check-templates", nullptr, true, SetFolder<&CliOptions::checkTemplates>},
    {"--force", nullptr, false, SetFlag<&CliOptions::force, true>},
    {"--update", nullptr, true, SetUpdate},
    {"--dry-run", nullptr, false, SetFlag<&CliOptions::dryRun, true>},
    {"--version", "-V", false, SetFlag<&CliOptions::version, true>},
    {"--help", "-h", false, SetFlag<&CliOptions::help, true>},
};

// The option an argument names, and where its "=value" starts (npos for none).
const Option* FindOption(const std::string& arg, std::size_t& equals) {
    equals = std::string::npos;
    for (const Option& option : kOptions) {
        if (option.shortName != nullptr && arg == option.shortName) return &option;
        const std::size_t length = std::strlen(option.longName);
        if (arg.compare(0, length, option.longName) != 0) continue;
        if (arg.size() == length) return &option;
        if (arg[length] == '=') {
            equals = length;
            return &option;
        }
    }
    return nullptr;
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    auto fail = [&](UsageError error, const std::string& subject) {
        result.error = error;
        result.subject = subject;
        return result;
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            if (SetName(result.options, arg) != UsageError::None) return fail(UsageError::NameTwice, arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::size_t equals = 0;
        const Option* option = FindOption(arg, equals);
        if (option == nullptr) return fail(UsageError::UnknownOption, arg);
        std::string value;
        if (equals != std::string::npos) {
            if (!option->takesValue) return fail(UsageError::UnexpectedValue, option->longName);
            value = arg.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 >= args.size()) return fail(UsageError::MissingValue, arg);
            value = args[++i];
        }
        const UsageError error = option->apply(result.options, value);
        if (error != UsageError::None) return fail(error, error == UsageError::NameTwice ? value : option->longName);
    }
    const CliOptions& options = result.options;
    const int templateCommands =
        !!options.exportTemplates + !!options.checkTemplates + !!options.templates;
    if (templateCommands > 1) return fail(UsageError::TemplateOptions, "--templates");
    if (options.force && !options.exportTemplates) return fail(UsageError::TemplateOptions, "--force");
    if (options.dryRun && !options.update) return fail(UsageError::UpdateOptions, "--dry-run");
    if (options.update) {
        // An update names its project once and asks nothing.
        const std::pair<bool, const char*> others[] = {
            {options.name.has_value(), "--name"},       {options.yes, "--yes"},
            {!options.open, "--no-open"},               {options.quiet, "--quiet"},
            {options.exportTemplates.has_value(), "--export-templates"},
            {options.checkTemplates.has_value(), "--check-templates"},
        };
        for (const auto& [given, option] : others) {
            if (given) return fail(UsageError::UpdateOptions, option);
        }
    }
    return result;
}

}  // namespace kx::cli
