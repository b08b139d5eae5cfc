// Keyboard handling of our forms, in the manner of a dialog manager: Tab and
// the arrow keys move the focus, Enter and Escape press buttons.
#pragma once

#include <windows.h>

#include <vector>

namespace kx::win {

struct DialogKeys {
    std::vector<HWND> tabOrder;  // focus stops, in order
    HWND defaultButton = nullptr;  // pressed by Enter when no button has the focus
    HWND cancelButton = nullptr;   // pressed by Escape
};

// Handles a WM_KEYDOWN meant for one of keys.tabOrder; true when it was used.
bool HandleDialogKey(const MSG& msg, const DialogKeys& keys);

// What a click on the button does: BN_CLICKED to its parent.
void PressButton(HWND button);

}  // namespace kx::win
