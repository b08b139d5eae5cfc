#include "CliOptions.h"

#include <cstring>
#include <iterator>
#include <utility>

namespace kx::cli {

namespace {

UsageError SetName(CliOptions& options, const std::string& value) {
    if (options.name) return UsageError::NameTwice;
    options.name = value;
    return UsageError::None;
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

const Option kOptions[] = {
    {"--name", 0, OptionValue::Name, SetName,
     {"the project name; without it kxgen asks, proposing\n"
      "wpx<yyyy_mm_dd>, which Enter, end of input or input\n"
      "that is not a terminal takes",
      "项目名称；不给时 kxgen 会询问，建议 wpx<年_月_日>，\n"
      "直接回车、输入结束或输入不是终端时采用它"}},
    {"--root", 0, OptionValue::Folder, SetFolder<&CliOptions::root>,
     {"where projects go (default: KX项目 in the current\n"
      "folder); missing folders above it are made",
      "项目放在哪里（默认：当前文件夹下的 KX项目）；\n"
      "缺少的上级文件夹会一并创建"}},
    {"--yes", 'y', OptionValue::None, SetFlag<&CliOptions::yes, true>,
     {"regenerate an existing project without asking; its\n"
      "old files go to the trash",
      "不询问，直接重新生成已存在的项目\n"
      "（旧文件移到回收站）"}},
    {"--quiet", 'q', OptionValue::None, SetFlag<&CliOptions::quiet, true>,
     {"print only the absolute path of the project file",
      "只显示项目文件的完整路径"}},
    {"--no-open", 0, OptionValue::None, SetFlag<&CliOptions::open, false>,
     {"do not ask the desktop to open the new project",
      "写完后不请系统打开项目文件"}},
    {"--templates", 0, OptionValue::Folder, SetFolder<&CliOptions::templates>,
     {"generate with the templates found in DIR (the\n"
      "built-in one for each file missing there)",
      "用该文件夹里的模板生成\n"
      "（文件夹里没有的文件用内置模板）"}},
    {"--export-templates", 0, OptionValue::Folder, SetFolder<&CliOptions::exportTemplates>,
     {"write the built-in templates into DIR to edit",
      "把内置模板写到该文件夹里以便修改"}},
    {"--force", 0, OptionValue::None, SetFlag<&CliOptions::force, true>,
     {"with --export-templates: overwrite files in DIR",
      "与 --export-templates 一起用：覆盖已有的文件"}},
    {"--check-templates", 0, OptionValue::Folder, SetFolder<&CliOptions::checkTemplates>,
     {"check the templates in DIR; writes nothing",
      "只检查该文件夹里的模板，不写任何文件"}},
    {"--update", 0, OptionValue::Project, SetUpdate,
     {"bring the templates' changes into the project NAME,\n"
      "keeping your own edits; a file where both changed\n"
      "the same lines stays as it is, its merge beside it",
      "把模板的改动合并进已有的项目，保留你自己的修改；\n"
      "两边改了同一处的文件保持原样，合并结果放在它旁边"}},
    {"--dry-run", 0, OptionValue::None, SetFlag<&CliOptions::dryRun, true>,
     {"with --update: say what would change; writes nothing",
      "与 --update 一起用：只列出会改动什么，不写任何文件"}},
    {"--version", 'V', OptionValue::None, SetFlag<&CliOptions::version, true>,
     {"print the version", "显示版本号"}},
    {"--help", 'h', OptionValue::None, SetFlag<&CliOptions::help, true>,
     {"print this text", "显示本说明"}},
};

const Option* LongOption(const std::string& arg, std::size_t& equals) {
    equals = std::string::npos;
    for (const Option& option : kOptions) {
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

const Option* ShortOption(char letter) {
    for (const Option& option : kOptions) {
        if (option.shortName != 0 && option.shortName == letter) return &option;
    }
    return nullptr;
}

}  // namespace

const Option* OptionTable::begin() const { return std::begin(kOptions); }
const Option* OptionTable::end() const { return std::end(kOptions); }

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    auto failed = [&](UsageError error, const std::string& subject) {
        result.error = error;
        result.subject = subject;
        return false;
    };
    // Applies an option with its value: after "=", the rest of a short
    // group, or the next argument. False once the command line is wrong.
    std::size_t next = 0;
    auto apply = [&](const Option& option, const std::string& shown, const std::optional<std::string>& attached) {
        std::string value;
        if (option.value == OptionValue::None) {
            if (attached) return failed(UsageError::UnexpectedValue, shown);
        } else if (attached) {
            value = *attached;
        } else if (next < args.size()) {
            value = args[next++];
        } else {
            return failed(UsageError::MissingValue, shown);
        }
        const UsageError error = option.apply(result.options, value);
        if (error != UsageError::None) return failed(error, error == UsageError::NameTwice ? value : shown);
        return true;
    };

    bool optionsEnded = false;
    while (next < args.size()) {
        const std::string& arg = args[next++];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (arg == "-" && !optionsEnded) {
                failed(UsageError::UnknownOption, arg);
                return result;
            }
            if (SetName(result.options, arg) != UsageError::None) {
                failed(UsageError::NameTwice, arg);
                return result;
            }
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg[1] == '-') {
            std::size_t equals = 0;
            const Option* option = LongOption(arg, equals);
            if (option == nullptr) {
                failed(UsageError::UnknownOption, arg);
                return result;
            }
            const std::optional<std::string> attached =
                equals == std::string::npos ? std::nullopt : std::optional<std::string>(arg.substr(equals + 1));
            if (!apply(*option, option->longName, attached)) return result;
            continue;
        }
        // A group of short options: each a flag, but for one that takes a
        // value, which is the rest of the group or the next argument.
        for (std::size_t i = 1; i < arg.size(); ++i) {
            const Option* option = ShortOption(arg[i]);
            const std::string letter = std::string("-") + arg[i];
            if (option == nullptr) {
                failed(UsageError::UnknownOption, letter);
                return result;
            }
            const bool takesRest = option->value != OptionValue::None && i + 1 < arg.size();
            if (!apply(*option, letter, takesRest ? std::optional<std::string>(arg.substr(i + 1)) : std::nullopt)) {
                return result;
            }
            if (takesRest) break;
        }
    }

    // One template command at most, --force only for the export, and an
    // update alone but for --templates and --dry-run.
    const CliOptions& options = result.options;
    const char* command = nullptr;
    for (const auto& [given, name] : {std::pair{!!options.exportTemplates, "--export-templates"},
                                      std::pair{!!options.checkTemplates, "--check-templates"},
                                      std::pair{!!options.templates, "--templates"}}) {
        if (!given) continue;
        if (command != nullptr) {
            failed(UsageError::CommandsTogether, name);
            return result;
        }
        command = name;
    }
    if (options.force && !options.exportTemplates) failed(UsageError::ForceAlone, "--force");
    if (result.error != UsageError::None) return result;
    if (options.dryRun && !options.update) failed(UsageError::UpdateOptions, "--dry-run");
    if (options.update) {
        // An update names its project once and asks nothing.
        const std::pair<bool, std::string> others[] = {
            {options.name.has_value(), options.name.value_or("")},
            {options.yes, "--yes"},
            {!options.open, "--no-open"},
            {options.quiet, "--quiet"},
            {options.exportTemplates.has_value(), "--export-templates"},
            {options.checkTemplates.has_value(), "--check-templates"},
        };
        for (const auto& [given, subject] : others) {
            if (given) {
                failed(UsageError::UpdateOptions, subject);
                break;
            }
        }
    }
    return result;
}

}  // namespace kx::cli
