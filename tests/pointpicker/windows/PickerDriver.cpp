#include "PickerDriver.h"

#include <vector>

namespace kx::test {
namespace {

constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollMs = 20;
constexpr const char* kNoticeCaption = "\xCC\xE1\xCA\xBE";  // 提示

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK Collect(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD thread) {
    std::vector<HWND> windows;
    EnumThreadWindows(thread, Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

template <class Find>
HWND PollFor(Find find) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (HWND window = find()) return window;
        Sleep(kPollMs);
    }
    return nullptr;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

HWND WaitForNoticeBox(DWORD thread) {
    return PollFor([thread]() -> HWND {
        HWND box = FindWindowA("#32770", kNoticeCaption);
        if (box && IsWindowVisible(box) && GetWindowThreadProcessId(box, nullptr) == thread) {
            return box;
        }
        return nullptr;
    });
}

BoxSeen DescribeBox(HWND box) {
    BoxSeen seen;
    seen.caption = TextOf(box);
    seen.topmost = (GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const HICON information = LoadIconA(nullptr, IDI_INFORMATION);
    for (HWND child : ChildrenOf(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::string cls = ClassOf(child);
        if (lstrcmpiA(cls.c_str(), "Button") == 0) {
            seen.visibleButtons.insert(GetDlgCtrlID(child));
        } else if (lstrcmpiA(cls.c_str(), "Static") == 0) {
            if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
                seen.informationIcon = seen.informationIcon || icon == information;
            } else if (seen.text.empty()) {
                seen.text = TextOf(child);
            }
        }
    }
    return seen;
}

void PressBoxButton(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

HWND WaitForVeil(DWORD thread) {
    return PollFor([thread]() -> HWND {
        for (HWND window : TopLevelWindowsOf(thread)) {
            if (IsWindowVisible(window) && ClassOf(window) != "#32770") return window;
        }
        return nullptr;
    });
}

VeilSeen DescribeVeil(HWND veil) {
    VeilSeen seen;
    const LONG style = GetWindowLongA(veil, GWL_STYLE);
    seen.maximised = IsZoomed(veil) != FALSE;
    seen.topmost = (GetWindowLongA(veil, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    seen.frameless = (style & (WS_CAPTION | WS_THICKFRAME)) == 0;
    GetWindowRect(veil, &seen.rect);
    seen.crossCursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(veil, GCLP_HCURSOR)) ==
                       LoadCursorA(nullptr, IDC_CROSS);
    COLORREF key = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(veil, &key, &seen.alpha, &flags)) {
        seen.layeredAlpha = (flags & LWA_ALPHA) != 0;
    }
    return seen;
}

void ClickScreenAt(POINT point, Button button) {
    DWORD down = MOUSEEVENTF_LEFTDOWN;
    DWORD up = MOUSEEVENTF_LEFTUP;
    if (button == Button::Right) {
        down = MOUSEEVENTF_RIGHTDOWN;
        up = MOUSEEVENTF_RIGHTUP;
    } else if (button == Button::Middle) {
        down = MOUSEEVENTF_MIDDLEDOWN;
        up = MOUSEEVENTF_MIDDLEUP;
    }
    SetCursorPos(point.x, point.y);
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = down;
    INPUT release = press;
    release.mi.dwFlags = up;
    Send({press, release});
}

void TypeEscape() {
    INPUT press{};
    press.type = INPUT_KEYBOARD;
    press.ki.wVk = VK_ESCAPE;
    INPUT release = press;
    release.ki.dwFlags = KEYEVENTF_KEYUP;
    Send({press, release});
}

void CloseLeftoversUntil(DWORD thread, const volatile LONG& done) {
    for (DWORD waited = 0; !done; waited += kPollMs) {
        if (waited >= kWaitMs) {
            for (HWND window : TopLevelWindowsOf(thread)) {
                if (IsWindowVisible(window)) PostMessageA(window, WM_CLOSE, 0, 0);
            }
        }
        Sleep(kPollMs);
    }
}

}  // namespace kx::test
