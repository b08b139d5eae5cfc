#include "Win32Dialogs.h"

#include <windows.h>

#include "ErrorDisplay.h"
#include "MessageBox.h"
#include "OutcomeTable.h"
#include "TextPrompt.h"
#include "Texts.h"

namespace kx::win {

AnsiString Win32Dialogs::AskProjectName(const AnsiString& proposed) {
    // The long question is the title and the short word the label.
    return PromptForText(texts::kNamePromptTitle, texts::kNamePromptLabel, proposed);
}

bool Win32Dialogs::ConfirmRegeneration(const AnsiString& /*name*/) {
    // Cancel is the default button: Enter right after the box opens keeps
    // the project. A box that cannot be shown keeps it as well.
    constexpr UINT kFlags = MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2;
    static_assert(kFlags == 0x121, "the question's flags");
    return ShowMessageBox(texts::kProjectExists, texts::kNotice, kFlags) == IDOK;
}

void ShowOutcome(const GenerationOutcome& outcome) {
    const OutcomeReport report = ReportFor(outcome);
    switch (report.notice) {
        case Notice::None:
            return;
        case Notice::Information:
            ShowMessageBox(report.text, report.caption, MB_OK | MB_ICONINFORMATION);  // 0x40; the answer is OK
            return;
        case Notice::Error:
            ShowMessageBox(report.text, report.caption, MB_OK | MB_ICONERROR);  // 0x10
            return;
        case Notice::ErrorDisplay:
            // As an error that escaped the handler would be shown.
            ReportUncaughtError(report.text);
            return;
    }
}

}  // namespace kx::win
