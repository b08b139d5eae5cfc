#include "DialogKeys.h"

#include <algorithm>

namespace kx::win {
namespace {

bool IsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool IsButton(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "Button") == 0;
}

void MoveFocus(const std::vector<HWND>& order, std::size_t from, bool forward) {
    const std::size_t count = order.size();
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t next = forward ? (from + step) % count : (from + count - step) % count;
        if (IsWindowVisible(order[next]) && IsWindowEnabled(order[next])) {
            SetFocus(order[next]);
            return;
        }
    }
}

}  // namespace

void PressButton(HWND button) {
    SendMessageA(GetParent(button), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void RememberedFocus::OnActivate(HWND form, bool active, HWND firstStop) {
    if (active) {
        SetFocus(last_ && IsWindow(last_) ? last_ : firstStop);
        return;
    }
    const HWND focus = GetFocus();
    if (focus && IsChild(form, focus)) last_ = focus;
}

bool HandleDialogKey(const MSG& msg, const DialogKeys& keys) {
    if (msg.message != WM_KEYDOWN) return false;
    const HWND focus = GetFocus();
    const auto at = std::find(keys.tabOrder.begin(), keys.tabOrder.end(), focus);
    if (at == keys.tabOrder.end()) return false;
    const std::size_t index = static_cast<std::size_t>(at - keys.tabOrder.begin());
    const bool shift = IsDown(VK_SHIFT);
    const bool ctrl = IsDown(VK_CONTROL);
    const bool alt = IsDown(VK_MENU);

    switch (msg.wParam) {
    case VK_TAB:
        if (ctrl || alt) return false;
        MoveFocus(keys.tabOrder, index, !shift);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        // An edit field keeps its arrow keys for the caret.
        if (!IsButton(focus)) return false;
        MoveFocus(keys.tabOrder, index, msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN);
        return true;
    case VK_RETURN:
        if (shift || ctrl || alt) return false;
        if (IsButton(focus)) {
            PressButton(focus);
            return true;
        }
        if (keys.defaultButton && IsWindowEnabled(keys.defaultButton)) {
            PressButton(keys.defaultButton);
            return true;
        }
        return false;
    case VK_ESCAPE:
        if (shift || ctrl || alt || !keys.cancelButton) return false;
        PressButton(keys.cancelButton);
        return true;
    default:
        return false;
    }
}

}  // namespace kx::win
