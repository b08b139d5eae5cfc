// The workflow's dialog port on Windows: the text prompt and the message box.
#pragma once

#include "MessageBox.h"
#include "Ports.h"
#include "TextPrompt.h"

namespace kx::win {

class Win32Dialogs : public DialogPort {
public:
    AnsiString PromptForText(const AnsiString& caption, const AnsiString& prompt,
                             const AnsiString& defaultText) override {
        return win::PromptForText(caption, prompt, defaultText);
    }
    int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) override {
        return win::ShowMessageBox(text, caption, flags);
    }
};

}  // namespace kx::win
