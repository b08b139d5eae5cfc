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

// Gives activation back to the window that had it before a modal interaction,
// on every way out, once the windows are enabled again.
class ReactivateOnExit {
public:
    explicit ReactivateOnExit(HWND window) noexcept : window_(window) {}
    ~ReactivateOnExit();
    ReactivateOnExit(const ReactivateOnExit&) = delete;
    ReactivateOnExit& operator=(const ReactivateOnExit&) = delete;

    // Leaves activation where it is after all.
    void Cancel() noexcept { window_ = nullptr; }

private:
    HWND window_;
};

}  // namespace kx::win
