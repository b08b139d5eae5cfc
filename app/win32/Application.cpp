#include "Application.h"

#include <algorithm>

#include "ErrorText.h"

namespace kx::win {
namespace {

constexpr char kApplicationClass[] = "TApplication";

}  // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

AnsiString DefaultApplicationTitle() {
    char path[256] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';
    OemToCharA(path, path);
    AnsiString title = layout::ModuleBaseName(path);
    if (title.empty()) return title;
    // CharNextA keeps a double-byte first character whole.
    char* rest = CharNextA(&title[0]);
    CharLowerA(rest);
    return AnsiString(title.c_str());
}

void TApplication::Initialize() {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    EnsureWindowClass(kApplicationClass, WindowProc, nullptr, icon);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    const AnsiString title = DefaultApplicationTitle();
    const HWND created = CreateWindowExA(
        0, kApplicationClass, title.c_str(),
        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (!created) throw KxError("Cannot create the application window");
    // Without a size of its own the window only shows as the taskbar entry.
    SendMessageA(created, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TApplication::AddForm(KeyboardForm& form) {
    forms_.push_back(&form);
    if (!mainForm_) mainForm_ = &form;
}

void TApplication::RemoveForm(KeyboardForm& form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
    if (mainForm_ == &form) mainForm_ = nullptr;
}

int TApplication::Run(int showCommand) {
    if (mainForm_) {
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        const HWND form = mainForm_->FormHandle();
        if (showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_SHOWMINIMIZED ||
            showCommand == SW_MINIMIZE) {
            ShowWindow(form, SW_SHOWNORMAL);
            Minimize();
        } else if (showCommand == SW_SHOWMAXIMIZED) {
            ShowWindow(form, SW_SHOWMAXIMIZED);
        } else {
            ShowWindow(form, SW_SHOWNORMAL);
        }
        UpdateWindow(form);
    }
    while (!terminated_) HandleMessage();
    if (const HWND form = MainFormHandle()) DestroyWindow(form);
    DestroyWindow(hwnd_);
    return 0;
}

void TApplication::HandleMessage() {
    MSG msg{};
    try {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            terminated_ = true;
            return;
        }
        ProcessMessage(msg);
    } catch (...) {
        ReportCurrentError();
    }
}

void TApplication::ProcessMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        // Copy: a handler run by the key may add or remove forms.
        const std::vector<KeyboardForm*> forms = forms_;
        for (KeyboardForm* form : forms) {
            const HWND handle = form->FormHandle();
            if (handle && (msg.hwnd == handle || IsChild(handle, msg.hwnd)) &&
                form->PreTranslateKey(msg)) {
                return;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::Minimize() {
    ShowWindow(hwnd_, SW_MINIMIZE);
    // Windows hides the owned forms along with their owner; not every
    // implementation of the API does, so it is asked for explicitly.
    ShowOwnedPopups(hwnd_, FALSE);
}

AnsiString ApplicationTitle() {
    char text[256] = {};
    GetWindowTextA(Application().Handle(), text, sizeof text);
    return text;
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFOCUS: {
        // The taskbar entry was chosen: hand the focus to the window the user
        // last worked in (a dialog while one is open, else the main form).
        const HWND popup = GetLastActivePopup(hwnd_);
        if (popup && popup != hwnd_ && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
            SetFocus(popup);
        }
        return 0;
    }
    case WM_CLOSE:
        // Close on the taskbar entry's menu closes the main form.
        if (const HWND form = MainFormHandle()) PostMessageA(form, WM_CLOSE, 0, 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            const LRESULT result = DefaultProc(msg, wParam, lParam);
            ShowOwnedPopups(hwnd_, TRUE);
            const HWND popup = GetLastActivePopup(hwnd_);
            if (popup && popup != hwnd_) SetActiveWindow(popup);
            return result;
        }
        return DefaultProc(msg, wParam, lParam);
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

}  // namespace kx::win
