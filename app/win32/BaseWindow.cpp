#include "BaseWindow.h"

namespace kx::win {

void EnsureWindowClass(const char* className, WNDPROC procedure, HBRUSH background,
                       HICON icon) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, className, &existing)) return;

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    if (!RegisterClassExA(&wc)) {
        throw KxError(AnsiString("Cannot register window class ") + className);
    }
}

}  // namespace kx::win
