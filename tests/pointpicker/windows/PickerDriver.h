// Plays the person in front of GetPoint's windows, from a helper thread: finds
// the box and the picking window of the calling thread, describes them as the
// window system shows them, and answers with real input where Wine allows.
#pragma once

#include <windows.h>

#include <set>
#include <string>

namespace kx::test {

struct BoxSeen {
    std::string caption;
    std::string text;
    std::set<int> visibleButtons;
    bool informationIcon = false;
    bool topmost = false;
};

struct VeilSeen {
    bool maximised = false;
    bool topmost = false;
    bool frameless = false;
    RECT rect{};
    bool crossCursor = false;
    bool layeredAlpha = false;
    BYTE alpha = 0;
};

// The message box "提示" of thread, or nullptr after the time is up.
HWND WaitForNoticeBox(DWORD thread);
BoxSeen DescribeBox(HWND box);
void PressBoxButton(HWND box, int id);

// The visible top-level window of thread that is not a dialog, or nullptr.
HWND WaitForVeil(DWORD thread);
VeilSeen DescribeVeil(HWND veil);

enum class Button { Left, Right, Middle };
// Moves the real cursor there and presses and releases the button.
void ClickScreenAt(POINT point, Button button);
void TypeEscape();

// Until done is set: after a grace time, closes whatever thread still shows,
// so that a failed scenario ends the call instead of hanging the test run.
void CloseLeftoversUntil(DWORD thread, const volatile LONG& done);

}  // namespace kx::test
