// Window classes of our own: `this` is stored at WM_NCCREATE and every
// message goes to the derived class's HandleMessage. No error ever leaves the
// window procedure; it goes to the error display instead.
#pragma once

#include <windows.h>

#include "ErrorDisplay.h"
#include "KxTypes.h"

namespace kx::win {

// Registers a class once per process; throws KxError when that fails.
void EnsureWindowClass(const char* className, WNDPROC procedure, HBRUSH background,
                       HICON icon);

template <class T>
class BaseWindow {
public:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        T* self = nullptr;
        if (msg == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            self = static_cast<T*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);

        LRESULT result = 0;
        try {
            result = self->HandleMessage(msg, wParam, lParam);
        } catch (...) {
            ReportCurrentError();
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

    HWND Handle() const noexcept { return hwnd_; }

protected:
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(hwnd_, msg, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace kx::win
