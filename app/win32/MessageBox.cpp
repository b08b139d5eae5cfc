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
    ~ApplicationWindowOnActiveMonitor() { MoveBack(); }
    ApplicationWindowOnActiveMonitor(const ApplicationWindowOnActiveMonitor&) = delete;
    ApplicationWindowOnActiveMonitor& operator=(const ApplicationWindowOnActiveMonitor&) = delete;

    void MoveBack() noexcept {
        if (!moved_ || !IsWindow(appWindow_)) return;
        moved_ = false;
        SetWindowPos(appWindow_, nullptr, saved_.left + (saved_.right - saved_.left) / 2,
                     saved_.top + (saved_.bottom - saved_.top) / 2, 0, 0, kQuietMove);
    }

private:
    HWND appWindow_;
    RECT saved_{};
    bool moved_ = false;
};

}  // namespace

int ShowMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags) {
    const HWND appWindow = Application().Handle();
    ReactivateOnExit reactivate(GetActiveWindow());
    ApplicationWindowOnActiveMonitor placement(appWindow, GetActiveWindow());
    DisabledThreadWindows disabled;
    // On every way out the owner is back in its place before any window is
    // enabled or activated again, so nothing is drawn or focused on the
    // wrong monitor in between.
    struct RestoreOnExit {
        ApplicationWindowOnActiveMonitor& placement;
        DisabledThreadWindows& disabled;
        ~RestoreOnExit() {
            placement.MoveBack();
            disabled.Restore();
        }
    } restore{placement, disabled};
    return MessageBoxA(appWindow, text.c_str(), caption.c_str(), flags);
}

}  // namespace kx::win
