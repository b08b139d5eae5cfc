// The workflow's dialogs on a terminal: the prompt proposes the name and takes
// an empty line as "accept"; a message box prints its caption and text.
#pragma once

#include <optional>

#include "Ports.h"

namespace kx::cli {

struct DialogAnswers {
    std::optional<AnsiString> name;  // answers the name prompt without asking
    bool regenerate = false;         // answers the exists question with OK
    bool interactive = false;        // the terminal may be asked
};

class TerminalDialogs : public DialogPort {
public:
    explicit TerminalDialogs(DialogAnswers answers) : answers_(std::move(answers)) {}

    AnsiString PromptForText(const AnsiString& caption, const AnsiString& prompt,
                             const AnsiString& defaultText) override;
    int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) override;

private:
    DialogAnswers answers_;
};

}  // namespace kx::cli
