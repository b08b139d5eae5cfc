// kxgen: the generate workflow from a terminal or a script.
#include <exception>
#include <optional>

#include "CliOptions.h"
#include "CliTexts.h"
#include "CodePage.h"
#include "Console.h"
#include "FileSystem.h"
#include "GenerateProject.h"
#include "OutcomeTable.h"
#include "ProjectTree.h"
#include "ShownText.h"
#include "SystemHost.h"
#include "TemplateCommands.h"
#include "TerminalDialogs.h"
#include "Texts.h"
#include "UpdateCommand.h"

namespace kx::cli {

namespace {

// The system host, with the output root and the shell's "open" under the
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
        if (open_) SystemHost::ShellOpen(path);
    }

    // A folder of the user's own templates, read and checked before the workflow starts.
    std::unique_ptr<TemplateSet> templates;
    const TemplateSource& Templates() override { return templates ? *templates : SystemHost::Templates(); }
    // kxgen keeps a record in each project it writes, for --update.
    AnsiString RecordVersion() override { return KX_VERSION; }

private:
    AnsiString root_;
    bool open_;
};

// Where a regeneration put the old files, on its own line; nothing when none moved.
void PrintOldFilesPlace(std::FILE* stream, const OldFiles& old) {
    switch (old.place) {
        case OldFilesPlace::None:
            return;
        case OldFilesPlace::Trash:
            PrintUtf8(stream, ShownAnsi(texts::kOldFilesMovedTo + old.folder) + "\n");
            return;
        case OldFilesPlace::RecycleBin:
            PrintUtf8(stream, ShownAnsi(old.someDeletedForGood ? texts::kOldFilesPartlyDeleted
                                                               : texts::kOldFilesInRecycleBin) +
                                  "\n");
            return;
    }
}

int UsageFailure(const CliTexts& texts, const std::string& message) {
    PrintUtf8(stderr, texts.errorPrefix + message + "\n" + texts.synopsis + texts.tryHelp);
    return kExitUsage;
}

// How the run ended, on the terminal: the Windows program's message on
// stderr, then what kxgen adds; the tree (or with --quiet the path) on
// stdout once the project is written.
int Report(const GenerationOutcome& outcome, const CliTexts& cliTexts, const CliOptions& options,
           const AnsiString& root) {
    const OutcomeReport report = ReportFor(outcome);
    switch (report.notice) {
        case Notice::None:
            break;
        case Notice::Information:
        case Notice::Error:
            if (outcome.kind == OutcomeKind::ConverterFailed) {
                // Its text could not be converted for the terminal either.
                PrintUtf8(stderr, std::string(cliTexts.errorPrefix) + cliTexts.converterFailed + "\n");
                break;
            }
            PrintUtf8(stderr, "[" + ShownAnsi(report.caption) + "] " + ShownAnsi(report.text) + "\n");
            break;
        case Notice::ErrorDisplay:
            PrintUtf8(stderr, "kxgen: " + ShownAnsi(report.text) + "\n");
            break;
    }
    if (outcome.kind == OutcomeKind::Written) {
        if (options.quiet) {
            PrintUtf8(stdout, ShownAnsi(outcome.paths.projectFile) + "\n");
            PrintOldFilesPlace(stderr, outcome.oldFiles);  // standard output holds the path alone
        } else {
            PrintUtf8(stdout, ProjectTreeText(outcome.paths.folder));
            PrintOldFilesPlace(stdout, outcome.oldFiles);
        }
    } else {
        PrintOldFilesPlace(stderr, outcome.oldFiles);
    }
    if (outcome.kind == OutcomeKind::Kept) PrintUtf8(stderr, cliTexts.keptHint);
    if (outcome.kind == OutcomeKind::RootFailed) PrintUtf8(stderr, Fill(cliTexts.rootFailedHint, ShownAnsi(root)));
    return report.exitCode;
}

int Run(int argc, char** argv) {
    const CliTexts& texts = TextsFor(UserLanguage());
    const ParseResult parsed = ParseCommandLine(RawArguments(argc, argv));
    if (parsed.error != UsageError::None) {
        return UsageFailure(texts, UsageErrorMessage(texts, parsed.error, Shown(parsed.subject)));
    }
    const CliOptions& options = parsed.options;
    if (options.help) {
        PrintUtf8(stdout, texts.help);
        return kExitWritten;
    }
    if (options.version) {
        PrintUtf8(stdout, "kxgen " KX_VERSION "\n");
        return kExitWritten;
    }
    if (options.exportTemplates) return ExportTemplatesCommand(*options.exportTemplates, options.force);
    if (options.checkTemplates) return CheckTemplatesCommand(*options.checkTemplates);
    if (options.update) return UpdateCommand(options, texts, UserLanguage());

    DialogAnswers answers;
    answers.regenerate = options.yes;
    answers.interactive = InputIsTerminal();
    answers.quiet = options.quiet;
    if (options.name) {
        answers.name = ArgumentToAnsi(*options.name);
        if (!answers.name) return UsageFailure(texts, Fill(texts.nameUnencodable, Shown(*options.name)));
    }
    // Projects go into the current folder unless told otherwise.
    const std::string rootPath = AbsolutePath(options.root ? *options.root : Utf8FromAnsi(texts::kOutputRootName));
    const std::optional<AnsiString> root = ArgumentToAnsi(rootPath);
    if (!root) return UsageFailure(texts, Fill(texts.folderUnencodable, Shown(rootPath)));

    CliHost host(*root, options.open);
    int status = 0;
    if (options.templates && !(host.templates = LoadTemplatesCommand(*options.templates, &status))) return status;
    TerminalDialogs dialogs(answers, texts);
    GenerationOutcome outcome;
    try {
        outcome = GenerateProject(dialogs, host);
    } catch (const UnencodableName& typed) {
        return UsageFailure(texts, Fill(texts.nameUnencodable, Shown(typed.typed)));
    }
    return Report(outcome, texts, options, *root);
}

}  // namespace

}  // namespace kx::cli

int main(int argc, char** argv) {
    int status = kx::kExitUnchanged;
    try {
        status = kx::cli::Run(argc, argv);
    } catch (const std::exception& error) {
        kx::cli::PrintUtf8(stderr, std::string("kxgen: ") + error.what() + "\n");
    }
    // Whatever was done, output that did not reach its reader is a failure:
    // a script that reads the path from a full disk must not go on.
    if (kx::cli::OutputFailed() && status == kx::kExitWritten) status = kx::kExitOutput;
    return status;
}
