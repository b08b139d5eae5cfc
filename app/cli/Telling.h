// What every kxgen command says on standard error, and how it turns the
// folders of the command line into paths for the workflow.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "CliOptions.h"
#include "CliTexts.h"
#include "Console.h"
#include "EndingMessages.h"
#include "templates/TemplateSet.h"

namespace kx::cli {

// One line: "kxgen: message".
void Tell(const std::string& message);

// The message, the synopsis and the hint to --help; returns the exit code
// of a wrong command line.
int UsageFailure(Language language, const std::string& message);

// An argument or a typed line that is not in the terminal's character set.
int NotInCharset(Language language, Text text, const BadText& bad);

// A folder of the command line, absolute and in ANSI; nullopt after saying
// that code page 936 cannot spell it (the current folder included).
std::optional<AnsiString> FolderArgument(Language language, const std::string& argument);

// The output root: --root, else KX项目 in the current folder, absolute and
// in ANSI, with what messages about it need; nullopt after saying that code
// page 936 cannot spell it.
struct OutputRoot {
    AnsiString path;
    EndingContext context;
};
std::optional<OutputRoot> OutputRootArgument(Language language, const CliOptions& options);

// With --templates, the folder's templates, read and checked, after saying
// what was found; without it, nullptr. On a refusal or a folder code page
// 936 cannot spell, nullopt, and status is the exit code.
std::optional<std::unique_ptr<TemplateSet>> TemplatesArgument(Language language, const CliOptions& options,
                                                              int& status);

}  // namespace kx::cli
