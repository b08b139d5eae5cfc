#include "TerminalDialogs.h"

#include "Console.h"

namespace kx::cli {

namespace {

constexpr unsigned kButtonsMask = 0x0F;
constexpr unsigned kOkCancel = 0x01;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

}  // namespace

AnsiString TerminalDialogs::PromptForText(const AnsiString& caption, const AnsiString& prompt,
                                          const AnsiString& defaultText) {
    if (answers_.name) return *answers_.name;
    if (!answers_.interactive) return defaultText;  // as a cancelled prompt
    PrintAnsi(stdout, caption + "\n" + prompt + "[" + defaultText + "] ");
    const std::optional<AnsiString> line = ReadInputLine();
    if (!line || line->empty()) return defaultText;
    return *line;
}

int TerminalDialogs::ShowMessageBox(const AnsiString& text, const AnsiString& caption,
                                    unsigned flags) {
    PrintAnsi(stderr, "[" + caption + "] " + text + "\n");
    if ((flags & kButtonsMask) != kOkCancel) return kIdOk;
    if (answers_.regenerate) return kIdOk;
    if (!answers_.interactive) return kIdCancel;
    // The box's default button is Cancel: only an explicit yes regenerates.
    PrintUtf8(stdout, "OK? [y/N] ");
    const std::optional<AnsiString> line = ReadInputLine();
    return line && (*line == "y" || *line == "Y" || *line == "yes") ? kIdOk : kIdCancel;
}

}  // namespace kx::cli
