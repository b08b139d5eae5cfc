// What every modal interaction does around itself: cancel a mouse capture,
// and disable the thread's other top-level windows until it ends.
#pragma once

#include <windows.h>

#include <vector>

namespace kx::win {

// Sends WM_CANCELMODE to the window holding the mouse capture, if any.
void CancelMouseCapture();

// Disables every visible, enabled top-level window of the calling thread and
// re-enables those that still exist when it goes out of scope, also when an
// error unwinds through it.
class DisabledThreadWindows {
public:
    DisabledThreadWindows();
    ~DisabledThreadWindows();
    DisabledThreadWindows(const DisabledThreadWindows&) = delete;
    DisabledThreadWindows& operator=(const DisabledThreadWindows&) = delete;

    // Re-enables now rather than at the end of the scope.
    void Restore() noexcept;

private:
    std::vector<HWND> disabled_;
};

}  // namespace kx::win
