// Keyboard handling of our forms, in the manner of a dialog manager: Tab and
// the arrow keys move the focus, Enter and Escape press buttons.
// Not IsDialogMessage: its rules differ from the forms' (arrows keep to a
// WS_GROUP, Enter and Escape send IDOK and IDCANCEL even to the main form,
// which has neither), and these few rules are easier to keep exact here.
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

// A form gets back the focus it had when it lost activation, so switching
// away and back (or a dialog closing) leaves the user where they were; before
// any focus was remembered it goes to the first focus stop.
class RememberedFocus {
public:
    void OnActivate(HWND form, bool active, HWND firstStop);

private:
    HWND last_ = nullptr;
};

}  // namespace kx::win
