#include "ErrorDisplay.h"

#include <windows.h>

#include <exception>

#include "Application.h"
#include "ErrorText.h"
#include "MessageBox.h"
#include "ModalState.h"

namespace kx::win {

void ShowErrorBox(const AnsiString& message) {
    // The result of an error box is of no interest: it has one button.
    ShowMessageBox(layout::ErrorBoxText(message), ApplicationTitle(), MB_OK | MB_ICONERROR);
}

void ReportUncaughtError(const AnsiString& message) {
    CancelMouseCapture();
    ShowErrorBox(message);
}

void ReportCurrentError() noexcept {
    try {
        try {
            throw;
        } catch (const KxError& error) {
            ReportUncaughtError(error.Message());
        } catch (const std::exception& error) {
            ReportUncaughtError(error.what());
        } catch (...) {
            ReportUncaughtError("Unknown error");
        }
    } catch (...) {
        // Showing the error failed as well (no memory for the box); the loop
        // must go on regardless, so this one is dropped.
    }
}

}  // namespace kx::win
