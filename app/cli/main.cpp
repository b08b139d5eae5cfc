// kxgen: the generate workflow from a terminal or a script.
#include <exception>
#include <optional>

#include "CliOptions.h"
#include "Console.h"
#include "GenerateProject.h"
#include "Gbk.h"
#include "RegenerationTexts.h"
#include "ProjectTree.h"
#include "SystemHost.h"
#include "TerminalDialogs.h"

namespace kx::cli {

namespace {

// The system host, with the output root and the shell's "open" under the
// command line's control. The "open" marks success: the workflow issues it
// only after the last file is written.
class CliHost : public SystemHost {
public:
    CliHost(std::optional<AnsiString> root, bool open) : root_(std::move(root)), open_(open) {}

    AnsiString OutputRoot() override { return root_ ? *root_ : SystemHost::OutputRoot(); }
    void ShellOpen(const AnsiString& path) override {
        projectFile_ = path;
        if (open_) SystemHost::ShellOpen(path);
    }
    const std::optional<AnsiString>& ProjectFile() const { return projectFile_; }
    void OldFilesMovedTo(const AnsiString& trashFolder) override { oldFiles_ = trashFolder; }
    // Where a regeneration put the old files, on its own line; nothing when none moved.
    void PrintOldFilesPlace(std::FILE* stream) const {
        if (!oldFiles_) return;
        if (oldFiles_->empty()) PrintAnsi(stream, AnsiString(texts::kOldFilesInRecycleBin) + "\n");
        else PrintAnsi(stream, texts::kOldFilesMovedTo + DisplayPath(*oldFiles_) + "\n");
    }

private:
    std::optional<AnsiString> root_;
    bool open_;
    std::optional<AnsiString> projectFile_;
    std::optional<AnsiString> oldFiles_;
};

AnsiString FolderOf(const AnsiString& path) {
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < path.size(); pos += GbkCharLength(path, pos)) {
        if (path[pos] == '\\') end = pos;
    }
    return path.substr(0, end);
}

int Fail(const std::string& message) {
    PrintUtf8(stderr, "kxgen: " + message + "\nTry 'kxgen --help'.\n");
    return 2;
}

int Run(int argc, char** argv) {
    const ParseResult parsed = ParseCommandLine(RawArguments(argc, argv));
    if (!parsed.error.empty()) return Fail(parsed.error);
    const CliOptions& options = parsed.options;
    if (options.help) {
        PrintUtf8(stdout, kUsage);
        return 0;
    }
    if (options.version) {
        PrintUtf8(stdout, "kxgen " KX_VERSION "\n");
        return 0;
    }

    DialogAnswers answers;
    answers.regenerate = options.yes;
    answers.interactive = InputIsTerminal();
    if (options.name) {
        answers.name = ArgumentToAnsi(*options.name);
        if (!answers.name) return Fail("the name has characters that code page 936 cannot hold");
    }
    std::optional<AnsiString> root;
    if (options.root) {
        root = ArgumentToAnsi(*options.root);
        if (!root) return Fail("the folder has characters that code page 936 cannot hold");
        root = AbsoluteFolder(*root);
    }

    CliHost host(root, options.open);
    TerminalDialogs dialogs(answers);
    try {
        GenerateProject(dialogs, host);
    } catch (const KxError& error) {
        PrintAnsi(stderr, "kxgen: " + error.Message() + "\n");
        host.PrintOldFilesPlace(stderr);
        return 1;
    }
    if (!host.ProjectFile()) {  // stopped with a message, already shown
        host.PrintOldFilesPlace(stderr);
        return 1;
    }

    PrintProjectTree(stdout, FolderOf(*host.ProjectFile()));
    host.PrintOldFilesPlace(stdout);
    return 0;
}

}  // namespace

}  // namespace kx::cli

int main(int argc, char** argv) {
    try {
        return kx::cli::Run(argc, argv);
    } catch (const std::exception& error) {
        kx::cli::PrintUtf8(stderr, std::string("kxgen: ") + error.what() + "\n");
        return 1;
    }
}
