// The text prompt: a label, a one-line edit field, OK and Cancel, run modally
// and owned by the application window.
#pragma once

#include "KxTypes.h"

namespace kx::win {

// true after OK, with value set to the field's text exactly as shown;
// false after any other ending, value unchanged.
bool RunTextPrompt(const AnsiString& caption, const AnsiString& prompt, AnsiString& value);

// The edited text after OK, defaultText after any other ending.
AnsiString PromptForText(const AnsiString& caption, const AnsiString& prompt,
                         const AnsiString& defaultText);

}  // namespace kx::win
