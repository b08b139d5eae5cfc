#include "UpdateCommand.h"

#include <memory>
#include <optional>

#include "Console.h"
#include "ShownText.h"
#include "Telling.h"
#include "TemplateCommands.h"
#include "UpdateMessages.h"
#include "update/UpdateOutcomeTable.h"
#include "update/UpdateProject.h"

namespace kx::cli {

namespace {

// What the update did, file by file, then how it ended: the diffs of a dry
// run and the lines on standard output; those of a run that stopped, with
// its closing line, on standard error.
int ReportUpdate(const UpdateOutcome& outcome, Language language, const EndingContext& context) {
    const UpdateReport report = ReportForUpdate(outcome);
    std::FILE* const lines = report.failure ? stderr : stdout;
    const auto say = [lines](const std::string& line) {
        if (!line.empty()) PrintUtf8(lines, std::string(lines == stderr ? kPrefix : "") + line + "\n");
    };
    for (const FileUpdate& file : outcome.files) PrintUtf8(stdout, file.diff);
    for (const FileUpdate& file : outcome.files) say(FileLine(file, language));
    say(RecordCreatedLine(outcome, language));
    say(OldFilesMessage(outcome.oldFiles, language));
    say(UpdateEndingMessage(outcome, language, context));
    return report.exitCode;
}

}  // namespace

int UpdateCommand(const CliOptions& options, Language language) {
    const std::optional<AnsiString> name = ArgumentToAnsi(*options.update);
    if (!name) return UsageFailure(language, Say(language, Text::NameUnencodable, {{"name", Shown(*options.update)}}));
    const std::optional<OutputRoot> root = OutputRootArgument(language, options);
    if (!root) return kExitUsage;
    int status = 0;
    const std::optional<std::unique_ptr<TemplateSet>> own = TemplatesArgument(language, options, status);
    if (!own) return status;

    UpdateRequest request;
    request.outputRoot = root->path;
    request.name = *name;
    request.templates = *own ? static_cast<const TemplateSource*>(own->get()) : &BuiltInTemplates();
    request.programVersion = KX_VERSION;
    request.dryRun = options.dryRun;

    // A signal before the first change stops the run with nothing changed;
    // once changes begin, the run completes first.
    UpdatePlanning planning = PlanUpdate(request);
    if (Interrupted()) return kExitUnchanged;
    if (!planning.plan || request.dryRun) return ReportUpdate(planning.ending, language, root->context);
    const UpdateOutcome outcome = CarryOutUpdate(*planning.plan, std::move(planning.ending));
    return ReportUpdate(outcome, language, root->context);
}

}  // namespace kx::cli
