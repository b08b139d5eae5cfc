#include "Telling.h"

#include "CodePage.h"
#include "OutcomeTable.h"
#include "ShownText.h"
#include "TemplateCommands.h"
#include "Texts.h"

namespace kx::cli {

void Tell(const std::string& message) { PrintUtf8(stderr, kPrefix + message + "\n"); }

int UsageFailure(Language language, const std::string& message) {
    PrintUtf8(stderr, kPrefix + message + "\n" + Pattern(language, Text::Synopsis) + Pattern(language, Text::TryHelp));
    return kExitUsage;
}

int NotInCharset(Language language, Text text, const BadText& bad) {
    const std::string message =
        Say(language, text, {{"text", Shown(bad.shown)}, {"bytes", bad.bytes}, {"charset", bad.charset}});
    return UsageFailure(language, message);
}

std::optional<AnsiString> FolderArgument(Language language, const std::string& argument) {
    const std::string path = AbsolutePath(argument);
    std::optional<AnsiString> folder = ArgumentToAnsi(path);
    if (!folder) UsageFailure(language, Say(language, Text::FolderUnencodable, {{"path", Shown(path)}}));
    return folder;
}

std::optional<OutputRoot> OutputRootArgument(Language language, const CliOptions& options) {
    // Projects go into the current folder unless told otherwise.
    const std::string path = AbsolutePath(options.root ? *options.root : Utf8FromAnsi(texts::kOutputRootName));
    const std::optional<AnsiString> ansi = ArgumentToAnsi(path);
    if (!ansi) {
        UsageFailure(language, Say(language, Text::FolderUnencodable, {{"path", Shown(path)}}));
        return std::nullopt;
    }
    OutputRoot root;
    root.path = *ansi;
    root.context.root = Shown(options.root ? *options.root : path);
    root.context.rootGiven = options.root.has_value();
    root.context.systemReason = SystemReason;
    root.context.lengthsInBytes = PathLengthsInBytes();
    return root;
}

std::optional<std::unique_ptr<TemplateSet>> TemplatesArgument(Language language, const CliOptions& options,
                                                              int& status) {
    if (!options.templates) return std::unique_ptr<TemplateSet>();
    const std::optional<AnsiString> folder = FolderArgument(language, *options.templates);
    status = kExitUsage;
    if (!folder) return std::nullopt;
    std::unique_ptr<TemplateSet> set = LoadTemplatesCommand(*folder, language);
    status = kExitUnchanged;
    if (!set) return std::nullopt;
    return set;
}

}  // namespace kx::cli
