// The workflow's questions on a terminal, in the user's language: the name
// prompt proposes a name and takes an empty line as "accept"; the exists
// question takes an answer from the terminal. With the answers given on the
// command line nothing is asked or shown.
#pragma once

#include <optional>
#include <string>

#include "Console.h"
#include "Language.h"
#include "Ports.h"

namespace kx::cli {

struct DialogAnswers {
    std::optional<AnsiString> name;  // answers the name prompt without asking
    bool regenerate = false;         // answers the exists question with OK
    bool interactive = false;        // the terminal may be asked
};

// Thrown by the prompt for a typed name that code page 936 cannot hold.
struct UnencodableName {
    std::string typed;  // UTF-8
};

// Thrown for a typed line that is not in the terminal's character set.
struct BadTyping {
    BadText bad;
};

// Thrown when a signal ends a question: the run stops, nothing changed.
struct Interruption {};

// y, yes, 是 or 确定, in any letter case and with blanks around it.
bool IsYes(const std::string& answer);

class TerminalDialogs : public DialogPort {
public:
    TerminalDialogs(DialogAnswers answers, Language language, AnsiString outputRoot)
        : answers_(std::move(answers)), language_(language), outputRoot_(std::move(outputRoot)) {}

    AnsiString AskProjectName(const AnsiString& proposed) override;
    bool ConfirmRegeneration(const AnsiString& name) override;

private:
    DialogAnswers answers_;
    Language language_;
    AnsiString outputRoot_;
};

}  // namespace kx::cli
