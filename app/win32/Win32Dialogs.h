// The workflow's dialog port on Windows: the name prompt and the exists
// question, each as the text prompt or the message box shows it.
#pragma once

#include "Outcome.h"
#include "Ports.h"

namespace kx::win {

class Win32Dialogs : public DialogPort {
public:
    AnsiString AskProjectName(const AnsiString& proposed) override;
    bool ConfirmRegeneration(const AnsiString& name) override;
};

// Shows how a press of Generate ended: its message box, the error display,
// or nothing when the project opens or the user said no.
void ShowOutcome(const GenerationOutcome& outcome);

}  // namespace kx::win
