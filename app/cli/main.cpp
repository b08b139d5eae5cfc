// kxgen: the generate workflow from a terminal or a script.
#include <exception>
#include <optional>

#include "CliOptions.h"
#include "CliTexts.h"
#include "CodePage.h"
#include "Console.h"
#include "GenerateProject.h"
#include "PathSplit.h"
#include "ProjectTree.h"
#include "ShownText.h"
#include "SystemHost.h"
#include "TemplateCommands.h"
#include "TerminalDialogs.h"
#include "Texts.h"

namespace kx::cli {

namespace {

enum ExitCode {
    kWritten = 0,
    kStopped = 1,       // the workflow stopped with a message
    kUsage = 2,         // a wrong command line, or a name code page 936 cannot hold
    kKept = 3,          // the project exists and was not regenerated
};

// The system host, with the output root and the shell's "open" under the
// command line's control. The "open" marks success: the workflow issues it
// only after the last file is written.
class CliHost : public SystemHost {
public:
    CliHost(AnsiString root, bool open) : root_(std::move(root)), open_(open) {}

    AnsiString OutputRoot() override { return root_; }
    void ShellOpen(const AnsiString& path) override {
        projectFile_ = path;
        if (open_) SystemHost::ShellOpen(path);
    }
    const std::optional<AnsiString>& ProjectFile() const { return projectFile_; }
    void OldFilesMovedTo(const AnsiString& trashFolder) override { oldFiles_ = trashFolder; }
    // Where a regeneration put the old files, on its own line; nothing when none moved.
    void PrintOldFilesPlace(std::FILE* stream) const {
        if (!oldFiles_) return;
        const AnsiString line = oldFiles_->empty()
                                    ? AnsiString(texts::kOldFilesInRecycleBin)
                                    : texts::kOldFilesMovedTo + DisplayPath(*oldFiles_);
        PrintUtf8(stream, ShownAnsi(line) + "\n");
    }

    // A folder of the user's own templates, read and checked before the workflow starts.
    std::unique_ptr<TemplateSet> templates;
    const TemplateSource& Templates() override { return templates ? *templates : SystemHost::Templates(); }

private:
    AnsiString root_;
    bool open_;
    std::optional<AnsiString> projectFile_;
    std::optional<AnsiString> oldFiles_;
};

AnsiString FolderOf(const AnsiString& path) {
    AnsiString folder = SplitAtLastSeparator(path).folder;
    if (!folder.empty()) folder.pop_back();  // without its separator
    return folder;
}

int UsageFailure(const CliTexts& texts, const std::string& message) {
    PrintUtf8(stderr, texts.errorPrefix + message + "\n" + texts.synopsis + texts.tryHelp);
    return kUsage;
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
        return kWritten;
    }
    if (options.version) {
        PrintUtf8(stdout, "kxgen " KX_VERSION "\n");
        return kWritten;
    }
    if (options.exportTemplates) return ExportTemplatesCommand(*options.exportTemplates, options.force);
    if (options.checkTemplates) return CheckTemplatesCommand(*options.checkTemplates);

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
    try {
        GenerateProject(dialogs, host);
    } catch (const UnencodableName& typed) {
        return UsageFailure(texts, Fill(texts.nameUnencodable, Shown(typed.typed)));
    } catch (const KxError& error) {
        PrintUtf8(stderr, "kxgen: " + ShownAnsi(DisplayPath(error.Message())) + "\n");
        host.PrintOldFilesPlace(stderr);
        return kStopped;
    }
    if (!host.ProjectFile()) {
        // The workflow's own message is already shown.
        host.PrintOldFilesPlace(stderr);
        if (dialogs.Declined()) {
            PrintUtf8(stderr, texts.keptHint);
            return kKept;
        }
        if (dialogs.RootFailed()) PrintUtf8(stderr, Fill(texts.rootFailedHint, ShownAnsi(DisplayPath(*root))));
        return kStopped;
    }

    if (options.quiet) {
        PrintUtf8(stdout, ShownAnsi(DisplayPath(*host.ProjectFile())) + "\n");
        host.PrintOldFilesPlace(stderr);  // standard output holds the path alone
    } else {
        PrintUtf8(stdout, ProjectTreeText(FolderOf(*host.ProjectFile())));
        host.PrintOldFilesPlace(stdout);
    }
    return kWritten;
}

}  // namespace

}  // namespace kx::cli

int main(int argc, char** argv) {
    int status = kx::cli::kStopped;
    try {
        status = kx::cli::Run(argc, argv);
    } catch (const std::exception& error) {
        kx::cli::PrintUtf8(stderr, std::string("kxgen: ") + error.what() + "\n");
    }
    kx::cli::HoldOwnWindowOpen(kx::cli::TextsFor(kx::cli::UserLanguage()));
    return status;
}
