#include "ModalState.h"

namespace kx::win {

void CancelMouseCapture() {
    if (HWND captured = GetCapture()) SendMessageA(captured, WM_CANCELMODE, 0, 0);
}

namespace {

BOOL CALLBACK DisableOne(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

}  // namespace

DisabledThreadWindows::DisabledThreadWindows() {
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled_));
}

DisabledThreadWindows::~DisabledThreadWindows() { Restore(); }

void DisabledThreadWindows::Restore() noexcept {
    for (HWND window : disabled_) {
        // A window may have been destroyed meanwhile; its handle is then stale.
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
    disabled_.clear();
}

ReactivateOnExit::~ReactivateOnExit() {
    if (window_ && IsWindow(window_)) SetActiveWindow(window_);
}

}  // namespace kx::win
