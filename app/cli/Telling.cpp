#include "Telling.h"

#include "OutcomeTable.h"
#include "ShownText.h"

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

}  // namespace kx::cli
