#include "MessageBox.h"

#include <windows.h>

#include "Application.h"
#include "ModalState.h"

namespace kx::win {
namespace {

constexpr UINT kQuietMove = SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;  // 0x1D

// While the box is up the application window, its owner, stands on the
// monitor of the active window, so the box appears where the user looks.
class ApplicationWindowOnActiveMonitor {
public:
    ApplicationWindowOnActiveMonitor(HWND appWindow, HWND active) : appWindow_(appWindow) {
        const HMONITOR target = MonitorFromWindow(active, MONITOR_DEFAULTTONEAREST);
        const HMONITOR current = MonitorFromWindow(appWindow, MONITOR_DEFAULTTONEAREST);
        if (target == current) return;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoA(target, &info) || !GetWindowRect(appWindow, &saved_)) return;
        const RECT& m = info.rcMonitor;
        moved_ = SetWindowPos(appWindow, nullptr, m.left + (m.right - m.left) / 2,
                              m.top + (m.bottom - m.top) / 2, 0, 0, kQuietMove) != FALSE;
    }
    ~ApplicationWindowOnActiveMonitor() {
        if (!moved_ || !IsWindow(appWindow_)) return;
        SetWindowPos(appWindow_, nullptr, saved_.left + (saved_.right - saved_.left) / 2,
                     saved_.top + (saved_.bottom - saved_.top) / 2, 0, 0, kQuietMove);
    }
    ApplicationWindowOnActiveMonitor(const ApplicationWindowOnActiveMonitor&) = delete;
    ApplicationWindowOnActiveMonitor& operator=(const ApplicationWindowOnActiveMonitor&) = delete;

private:
    HWND appWindow_;
    RECT saved_{};
    bool moved_ = false;
};

// Gives activation back on every way out, after the windows are enabled again.
class ReactivateOnExit {
public:
    explicit ReactivateOnExit(HWND window) : window_(window) {}
    ~ReactivateOnExit() {
        if (window_ && IsWindow(window_)) SetActiveWindow(window_);
    }
    ReactivateOnExit(const ReactivateOnExit&) = delete;
    ReactivateOnExit& operator=(const ReactivateOnExit&) = delete;

private:
    HWND window_;
};

}  // namespace

int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) {
    const HWND appWindow = Application().Handle();
    ReactivateOnExit reactivate(GetActiveWindow());
    ApplicationWindowOnActiveMonitor placement(appWindow, GetActiveWindow());
    DisabledThreadWindows disabled;
    return MessageBoxA(appWindow, text.c_str(), caption.c_str(), flags);
}

}  // namespace kx::win
