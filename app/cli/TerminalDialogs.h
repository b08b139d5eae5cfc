// The workflow's dialogs on a terminal: the prompt proposes the name and takes
// an empty line as "accept"; the exists question is printed on stderr and
// takes an answer from the terminal.
#pragma once

#include <optional>
#include <string>

#include "CliTexts.h"
#include "Ports.h"

namespace kx::cli {

struct DialogAnswers {
    std::optional<AnsiString> name;  // answers the name prompt without asking
    bool regenerate = false;         // answers the exists question with OK
    bool interactive = false;        // the terminal may be asked
    bool quiet = false;              // a question answered by regenerate is not shown
};

// Thrown by the prompt for a typed name that code page 936 cannot hold.
struct UnencodableName {
    std::string typed;  // UTF-8
};

// y, yes, 是 or 确定, in any letter case and with blanks around it.
bool IsYes(const std::string& answer);

class TerminalDialogs : public DialogPort {
public:
    TerminalDialogs(DialogAnswers answers, const CliTexts& texts) : answers_(std::move(answers)), texts_(texts) {}

    AnsiString AskProjectName(const AnsiString& proposed) override;
    bool ConfirmRegeneration(const AnsiString& name) override;

private:
    DialogAnswers answers_;
    const CliTexts& texts_;
};

}  // namespace kx::cli
