#include "TemplateCommands.h"

#include <optional>

#include "CliTexts.h"
#include "Console.h"
#include "FileSystem.h"
#include "FindingMessages.h"
#include "PathSplit.h"
#include "ShownText.h"
#include "Telling.h"
#include "templates/ExportTemplates.h"

namespace kx::cli {

namespace {

struct Counts {
    int refusals = 0;
    int warnings = 0;
};

// "kxgen: folder/file:line: error: message", one line each.
Counts TellFindings(const AnsiString& folder, const LoadedTemplates& loaded, Language language) {
    Counts counts;
    for (const FileFindings& file : loaded.findings) {
        const AnsiString path = file.fileName.empty() ? folder : folder + kPathSeparator + file.fileName;
        for (const Finding& finding : file.findings) {
            (finding.refusal ? counts.refusals : counts.warnings) += 1;
            const std::string where = ShownAnsi(path) + (finding.line ? ":" + std::to_string(finding.line) : "");
            Tell(Say(language, finding.refusal ? Text::FindingRefusal : Text::FindingWarning,
                     {{"where", where}, {"message", FindingMessage(finding, language)}}));
        }
    }
    return counts;
}

std::optional<LoadedTemplates> LoadAndTell(const AnsiString& folder, Language language, Counts* counts) {
    if (!DirectoryExists(folder)) {
        Tell(Say(language, Text::TemplateFolderMissing, {{"folder", ShownAnsi(folder)}}));
        return std::nullopt;
    }
    LoadedTemplates loaded = LoadTemplates(folder);
    *counts = TellFindings(folder, loaded, language);
    return loaded;
}

std::string ExportProblemMessage(const ExportResult& result, const AnsiString& folder, Language language) {
    const std::string shownFolder = ShownAnsi(folder);
    const std::string path = ShownAnsi(folder + kPathSeparator + result.file);
    switch (result.problem) {
        case ExportProblem::None: break;
        case ExportProblem::PathIsFile: return Say(language, Text::ExportPathIsFile, {{"folder", shownFolder}});
        case ExportProblem::FolderNotCreated: {
            const std::string reason = result.systemError != 0 ? SystemReason(result.systemError) : std::string();
            return Say(language, Text::ExportFolderFailed,
                       {{"folder", shownFolder}, {"because", Because(language, reason)}});
        }
        case ExportProblem::TemplateMissing:
            return Say(language, Text::ExportTemplateMissing, {{"file", ShownAnsi(result.file)}});
        case ExportProblem::DllNotWritten: return Say(language, Text::ExportDllFailed, {{"path", path}});
        case ExportProblem::GuideNotWritten: return Say(language, Text::ExportGuideFailed, {{"path", path}});
    }
    return {};
}

}  // namespace

int ExportTemplatesCommand(const AnsiString& folder, bool force, Language language) {
    ExportResult result;
    try {
        result = ExportTemplates(folder, force);
    } catch (const EFCreateError& error) {
        Tell(Say(language, Text::ExportFileNotCreated,
                 {{"path", ShownAnsi(error.Path())}, {"because", Because(language, ShownAnsi(error.SystemText()))}}));
        return 1;
    } catch (const EWriteError& error) {
        Tell(Say(language, Text::ExportFileNotWritten, {{"path", ShownAnsi(error.Path())}}));
        return 1;
    } catch (const KxError& error) {
        Tell(ShownAnsi(error.Message()));
        return 1;
    }
    for (const AnsiString& name : result.existing) {
        Tell(Say(language, Text::FileExists, {{"path", ShownAnsi(folder + kPathSeparator + name)}}));
    }
    if (!result.existing.empty()) {
        Tell(Say(language, Text::NothingWrittenUseForce));
        return 1;
    }
    if (result.problem != ExportProblem::None) {
        Tell(ExportProblemMessage(result, folder, language));
        return 1;
    }
    for (const AnsiString& name : result.written) PrintUtf8(stdout, ShownAnsi(folder + kPathSeparator + name) + "\n");
    Tell(Say(language, Text::Exported, {{"folder", ShownAnsi(folder)}}));
    return 0;
}

int CheckTemplatesCommand(const AnsiString& folder, Language language) {
    Counts counts;
    const std::optional<LoadedTemplates> loaded = LoadAndTell(folder, language, &counts);
    if (!loaded) return 1;
    if (counts.refusals + counts.warnings > 0) {
        Tell(Say(language, Text::CheckFindings,
                 {{"refusals", std::to_string(counts.refusals)}, {"warnings", std::to_string(counts.warnings)}}));
        return 1;
    }
    std::string files;
    for (const AnsiString& file : loaded->filesUsed) {
        if (!files.empty()) files += Pattern(language, Text::ListSeparator);
        files += ShownAnsi(file);
    }
    Tell(Say(language, Text::CheckClean, {{"folder", ShownAnsi(folder)}, {"files", files}}));
    return 0;
}

std::unique_ptr<TemplateSet> LoadTemplatesCommand(const AnsiString& folder, Language language) {
    Counts counts;
    std::optional<LoadedTemplates> loaded = LoadAndTell(folder, language, &counts);
    if (!loaded) return nullptr;
    if (loaded->Refused()) {
        Tell(Say(language, Text::TemplatesRefused));
        return nullptr;
    }
    return std::make_unique<TemplateSet>(std::move(loaded->set));
}

}  // namespace kx::cli
