#include "TerminalDialogs.h"

#include "Console.h"
#include "ShownText.h"
#include "Texts.h"

namespace kx::cli {

namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kOkCancel = 0x01;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// A line of the terminal. When the input ends, the cursor may still stand
// after the prompt: a line end keeps later output off it.
std::optional<std::string> ReadAnswer() {
    InputLine input = ReadInputLine();
    if (!input.lineEnded) PrintUtf8(stderr, "\n");
    return std::move(input.text);
}

}  // namespace

bool IsYes(const std::string& answer) {
    const std::size_t first = answer.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    std::string word = answer.substr(first, answer.find_last_not_of(" \t") - first + 1);
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return word == "y" || word == "yes" || word == "是" || word == "确定";
}

AnsiString TerminalDialogs::PromptForText(const AnsiString& caption, const AnsiString& prompt,
                                          const AnsiString& defaultText) {
    if (answers_.name) return *answers_.name;
    if (!answers_.interactive) return defaultText;  // as a cancelled prompt
    PrintUtf8(stderr, ShownAnsi(caption) + "\n" + ShownAnsi(prompt) + "[" + ShownAnsi(defaultText) + "] ");
    const std::optional<std::string> line = ReadAnswer();
    if (!line || line->empty()) return defaultText;
    std::optional<AnsiString> name = ArgumentToAnsi(*line);
    if (!name) throw UnencodableName{*line};
    return *name;
}

int TerminalDialogs::ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) {
    if (text == texts::kOutputRootFailed) rootFailed_ = true;
    const bool question = (flags & kButtonsMask) == kOkCancel;
    if (!(question && answers_.regenerate && answers_.quiet)) {
        PrintUtf8(stderr, "[" + ShownAnsi(caption) + "] " + ShownAnsi(text) + "\n");
    }
    if (!question || answers_.regenerate) return kIdOk;
    // The box's default button is Cancel: only an explicit yes regenerates.
    if (answers_.interactive) {
        PrintUtf8(stderr, texts_.regenerateQuestion);
        const std::optional<std::string> line = ReadAnswer();
        if (line && IsYes(*line)) return kIdOk;
    }
    declined_ = true;
    return kIdCancel;
}

}  // namespace kx::cli
