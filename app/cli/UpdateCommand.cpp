#include "UpdateCommand.h"

#include <memory>
#include <optional>

#include "CodePage.h"
#include "Console.h"
#include "ShownText.h"
#include "TemplateCommands.h"
#include "Texts.h"
#include "update/UpdateOutcomeTable.h"
#include "update/UpdateProject.h"

namespace kx::cli {

namespace {

// What the update did, file by file, then how it ended: the diffs of a dry
// run and the lines on standard output, the closing line of a run that
// changed nothing because it could not on standard error.
int ReportUpdate(const UpdateOutcome& outcome, ReportLanguage language) {
    const UpdateReport report = ReportForUpdate(outcome, language);
    std::FILE* lines = report.failure ? stderr : stdout;
    for (const FileUpdate& file : outcome.files) PrintUtf8(stdout, file.diff);
    for (const FileUpdate& file : outcome.files) {
        const std::string line = FileLine(file, language);
        if (!line.empty()) PrintUtf8(lines, Shown(line) + "\n");
    }
    for (const std::string& line : {RecordCreatedLine(outcome, language), OldVersionsLine(outcome.oldFiles, language)}) {
        if (!line.empty()) PrintUtf8(lines, Shown(line) + "\n");
    }
    const std::string prefix = outcome.dryRun ? DryRunPrefix(language) : std::string();
    PrintUtf8(lines, (report.failure ? "kxgen: " : "") + prefix + Shown(report.message) + "\n");
    return report.exitCode;
}

}  // namespace

int UpdateCommand(const CliOptions& options, const CliTexts& texts, Language language) {
    const auto usage = [&texts](const std::string& message) {
        PrintUtf8(stderr, texts.errorPrefix + message + "\n" + texts.synopsis + texts.tryHelp);
        return 2;
    };
    const std::optional<AnsiString> name = ArgumentToAnsi(*options.update);
    if (!name) return usage(Fill(texts.nameUnencodable, Shown(*options.update)));
    const std::string rootPath = AbsolutePath(options.root ? *options.root : Utf8FromAnsi(texts::kOutputRootName));
    const std::optional<AnsiString> root = ArgumentToAnsi(rootPath);
    if (!root) return usage(Fill(texts.folderUnencodable, Shown(rootPath)));

    std::unique_ptr<TemplateSet> own;
    int status = 0;
    if (options.templates && !(own = LoadTemplatesCommand(*options.templates, &status))) return status;

    UpdateRequest request;
    request.outputRoot = *root;
    request.name = *name;
    request.templates = own ? static_cast<const TemplateSource*>(own.get()) : &BuiltInTemplates();
    request.programVersion = KX_VERSION;
    request.dryRun = options.dryRun;
    return ReportUpdate(UpdateProject(request),
                        language == Language::Chinese ? ReportLanguage::Chinese : ReportLanguage::English);
}

}  // namespace kx::cli
