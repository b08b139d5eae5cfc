// kxgen: the generate workflow from a terminal or a script.
#include <exception>
#include <optional>

#include "CliOptions.h"
#include "CliTexts.h"
#include "Console.h"
#include "EndingMessages.h"
#include "FileSystem.h"
#include "GenerateProject.h"
#include "HelpText.h"
#include "OutcomeTable.h"
#include "ProjectTree.h"
#include "ShownText.h"
#include "SystemHost.h"
#include "TemplateCommands.h"
#include "Telling.h"
#include "TerminalDialogs.h"
#include "UpdateCommand.h"

namespace kx::cli {

namespace {

// The system host, with the output root and the desktop's "open" under the
// command line's control.
class CliHost : public SystemHost {
public:
    CliHost(AnsiString root, bool open) : root_(std::move(root)), open_(open) {}

    AnsiString OutputRoot() override { return root_; }
    // The folder the user named, with the folders above it, as mkdir -p.
    bool CreateOutputRoot(const AnsiString& root, int& systemError) override {
        return CreateFolderPath(root, &systemError);
    }
    void ShellOpen(const AnsiString& path) override {
        if (open_) opened = OpenWithDesktop(path);
    }

    // A folder of the user's own templates, read and checked before the workflow starts.
    std::unique_ptr<TemplateSet> templates;
    const TemplateSource& Templates() override { return templates ? *templates : SystemHost::Templates(); }
    // kxgen keeps a record in each project it writes, for --update.
    std::string RecordVersion() override { return KX_VERSION; }

    // How the request to open the project went, once it was made.
    std::optional<OpenAttempt> opened;

private:
    AnsiString root_;
    bool open_;
};

// How the run ended: the tree (or with --quiet the path) on standard output
// once the project is written; what happened on standard error.
int Report(const GenerationOutcome& outcome, Language language, const CliOptions& options,
           const EndingContext& context, const CliHost& host) {
    if (outcome.kind == OutcomeKind::Written) {
        PrintUtf8(stdout, options.quiet ? ShownAnsi(outcome.paths.projectFile) + "\n"
                                        : ProjectTreeText(outcome.paths.folder));
    }
    const std::string ending = EndingMessage(outcome, language, context);
    if (!ending.empty()) Tell(ending);
    const std::string oldFiles = OldFilesMessage(outcome.oldFiles, language);
    if (!oldFiles.empty()) Tell(oldFiles);
    if (host.opened && !host.opened->started) {
        Tell(Say(language, Text::OpenFailed,
                 {{"program", host.opened->program},
                  {"because", Because(language, SystemReason(host.opened->systemError))},
                  {"path", ShownAnsi(outcome.paths.projectFile)}}));
    }
    return ReportFor(outcome).exitCode;
}

int Generate(const CliOptions& options, Language language) {
    DialogAnswers answers;
    answers.regenerate = options.yes;
    answers.interactive = InputIsTerminal();
    if (options.name) {
        answers.name = ArgumentToAnsi(*options.name);
        if (!answers.name) {
            return UsageFailure(language, Say(language, Text::NameUnencodable, {{"name", Shown(*options.name)}}));
        }
    }
    const std::optional<OutputRoot> root = OutputRootArgument(language, options);
    if (!root) return kExitUsage;
    CliHost host(root->path, options.open);
    int status = 0;
    std::optional<std::unique_ptr<TemplateSet>> templates = TemplatesArgument(language, options, status);
    if (!templates) return status;
    host.templates = std::move(*templates);
    const EndingContext& context = root->context;

    TerminalDialogs dialogs(answers, language, root->path);
    std::optional<Planning> planning;
    try {
        planning.emplace(PlanGeneration(dialogs, host));
    } catch (const UnencodableName& typed) {
        return UsageFailure(language, Say(language, Text::NameUnencodable, {{"name", Shown(typed.typed)}}));
    } catch (const BadTyping& typed) {
        return NotInCharset(language, Text::TypedNotInCharset, typed.bad);
    } catch (const Interruption&) {
        return kExitUnchanged;  // the caller ends by the signal; the lock went with the plan
    }
    // A signal before the first change stops the run with nothing changed;
    // once changes begin, the run completes first.
    if (!planning->plan || Interrupted()) {
        return Interrupted() ? kExitUnchanged : Report(planning->ending, language, options, context, host);
    }
    const GenerationOutcome outcome = CarryOutPlan(*planning->plan, host, std::move(planning->ending));
    return Report(outcome, language, options, context, host);
}

int Run(int argc, char** argv) {
    StartConsole();
    const Language language = UserLanguage();
    const Arguments arguments = ReadArguments(argc, argv);
    if (arguments.bad) return NotInCharset(language, Text::ArgumentNotInCharset, *arguments.bad);
    const ParseResult parsed = ParseCommandLine(arguments.utf8);
    if (parsed.error != UsageError::None) {
        return UsageFailure(language, UsageErrorMessage(language, parsed.error, Shown(parsed.subject)));
    }
    const CliOptions& options = parsed.options;
    if (options.help) {
        PrintUtf8(stdout, HelpText(language));
        return kExitWritten;
    }
    if (options.version) {
        PrintUtf8(stdout, "kxgen " KX_VERSION "\n");
        return kExitWritten;
    }
    if (options.exportTemplates || options.checkTemplates) {
        const std::optional<AnsiString> folder =
            FolderArgument(language, options.exportTemplates ? *options.exportTemplates : *options.checkTemplates);
        if (!folder) return kExitUsage;
        return options.exportTemplates ? ExportTemplatesCommand(*folder, options.force, language)
                                       : CheckTemplatesCommand(*folder, language);
    }
    CatchInterrupts();
    return options.update ? UpdateCommand(options, language) : Generate(options, language);
}

}  // namespace

}  // namespace kx::cli

int main(int argc, char** argv) {
    int status = kx::kExitUnchanged;
    try {
        status = kx::cli::Run(argc, argv);
    } catch (const std::exception& error) {
        kx::cli::PrintUtf8(stderr, std::string(kx::cli::kPrefix) + error.what() + "\n");
    }
    // Stopped by Ctrl-C or a termination signal: everything is let go by
    // now, and kxgen ends as the signal would have ended it.
    if (kx::cli::Interrupted()) kx::cli::EndByInterrupt();
    // Whatever was done, output that did not reach its reader is a failure:
    // a script that reads the path from a full disk must not go on.
    if (kx::cli::OutputFailed() && status == kx::kExitWritten) status = kx::kExitOutput;
    kx::cli::HoldOwnWindowOpen(kx::cli::UserLanguage());
    return status;
}
