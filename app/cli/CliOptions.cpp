#include "CliOptions.h"

namespace kx::cli {

const char kUsage[] =
    "Usage: kxgen [--name NAME] [--root DIR] [--yes] [--no-open]\n"
    "\n"
    "Writes a new KX project, as the Generate button of the Windows program does.\n"
    "\n"
    "  --name NAME  the project name; without it kxgen asks, and an empty answer\n"
    "               or input that is not a terminal takes the proposed wpx<date>\n"
    "  --root DIR   where projects go (default: KX项目 beside kxgen)\n"
    "  --yes        regenerate an existing project (its old files go to the trash)\n"
    "  --no-open    do not ask the desktop to open the new project file\n"
    "  --export-templates DIR  write the built-in templates into DIR (--force overwrites)\n"
    "  --templates DIR         generate from the templates in DIR\n"
    "  --check-templates DIR   only check the templates in DIR\n"
    "  --version    print the version\n"
    "  --help       print this text\n"
    "\n"
    "Exit status: 0 when the project was written, 1 when generation stopped with\n"
    "a message, 2 for a wrong command line.\n";

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    CliOptions& options = result.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::optional<std::string>& target) {
            if (i + 1 >= args.size()) {
                result.error = arg + " needs a value";
                return;
            }
            target = args[++i];
        };
        if (arg == "--name") {
            value(options.name);
        } else if (arg.rfind("--name=", 0) == 0) {
            options.name = arg.substr(7);
        } else if (arg == "--root") {
            value(options.root);
        } else if (arg.rfind("--root=", 0) == 0) {
            options.root = arg.substr(7);
        } else if (arg == "--yes" || arg == "-y") {
            options.yes = true;
        } else if (arg == "--no-open") {
            options.open = false;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--export-templates") {
            value(options.exportTemplates);
        } else if (arg == "--templates") {
            value(options.templates);
        } else if (arg == "--check-templates") {
            value(options.checkTemplates);
        } else if (arg == "--force") {
            options.force = true;
        } else {
            result.error = "unknown option: " + arg;
        }
        if (!result.error.empty()) return result;
    }
    if (options.root && options.root->empty()) result.error = "--root needs a folder";
    for (const auto* folder : {&options.exportTemplates, &options.templates, &options.checkTemplates}) {
        if (*folder && (*folder)->empty()) result.error = "a template option needs a folder";
    }
    if (!!options.exportTemplates + !!options.checkTemplates + !!options.templates > 1 ||
        (options.force && !options.exportTemplates)) {
        result.error = "--export-templates, --check-templates and --templates exclude each other; "
                       "--force goes with --export-templates";
    }
    return result;
}

}  // namespace kx::cli
