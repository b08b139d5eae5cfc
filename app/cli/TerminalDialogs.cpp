#include "TerminalDialogs.h"

#include "AsciiText.h"
#include "CliTexts.h"
#include "PathSplit.h"
#include "ShownText.h"

namespace kx::cli {

namespace {

// A signal that came before the question stops the run as one during it does.
void StopIfInterrupted() {
    if (Interrupted()) throw Interruption{};
}

// A line of the terminal. When the input ends, the cursor may still stand
// after the prompt: a line end keeps later output off it.
std::optional<std::string> ReadAnswer() {
    InputLine input = ReadInputLine();
    if (!input.lineEnded || input.interrupted) PrintUtf8(stderr, "\n");
    if (input.interrupted) throw Interruption{};
    if (input.bad) throw BadTyping{std::move(*input.bad)};
    return std::move(input.text);
}

}  // namespace

bool IsYes(const std::string& answer) {
    const std::size_t first = answer.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const std::string_view word = std::string_view(answer).substr(first, answer.find_last_not_of(" \t") - first + 1);
    return EqualsIgnoringAsciiCase(word, "y") || EqualsIgnoringAsciiCase(word, "yes") || word == "是" ||
           word == "确定";
}

AnsiString TerminalDialogs::AskProjectName(const AnsiString& proposed) {
    if (answers_.name) return *answers_.name;
    if (!answers_.interactive) return proposed;  // as a cancelled prompt
    StopIfInterrupted();
    PrintUtf8(stderr, Say(language_, Text::NamePrompt, {{"proposed", ShownAnsi(proposed)}}));
    const std::optional<std::string> line = ReadAnswer();
    if (!line || line->empty()) return proposed;
    std::optional<AnsiString> name = ArgumentToAnsi(*line);
    if (!name) throw UnencodableName{*line};
    return *name;
}

bool TerminalDialogs::ConfirmRegeneration(const AnsiString& name) {
    if (answers_.regenerate) return true;
    // The box's default button is Cancel: only an explicit yes regenerates.
    if (!answers_.interactive) return false;
    StopIfInterrupted();
    PrintUtf8(stderr, Say(language_, Text::RegenerateQuestion,
                          {{"folder", ShownAnsi(outputRoot_ + kPathSeparator + name)}}));
    const std::optional<std::string> line = ReadAnswer();
    return line && IsYes(*line);
}

}  // namespace kx::cli
