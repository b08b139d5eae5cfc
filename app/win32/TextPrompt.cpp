#include "TextPrompt.h"

#include "PromptForm.h"

namespace kx::win {

bool RunTextPrompt(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) {
    TPromptForm form(caption, prompt, value);
    if (form.ShowModal() != TPromptForm::kOk) return false;
    value = form.EditText();
    return true;
}

AnsiString PromptForText(const AnsiString& caption, const AnsiString& prompt,
                         const AnsiString& defaultText) {
    AnsiString result = defaultText;
    RunTextPrompt(caption, prompt, result);
    return result;
}

}  // namespace kx::win
