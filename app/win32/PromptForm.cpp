#include "PromptForm.h"

#include "FontChoice.h"
#include "MainLayout.h"
#include "ModalState.h"

namespace kx::win {
namespace {

enum ControlId { kLabelId = 100, kEditId = 101, kOkId = 1, kCancelId = 2 };

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
constexpr int kMaxInputBytes = 255;
constexpr UINT kOkCaptionId = 65370;
constexpr UINT kCancelCaptionId = 65371;

// The toolkit's default font: "MS Sans Serif", 8 points on this screen, in a
// character set that shows the prompt's texts.
Font CreateDialogFont(const std::vector<const char*>& texts) {
    ScopedWindowDC screen(nullptr);
    // Without a screen DC the design resolution stands in.
    int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    if (dpi <= 0) dpi = layout::kDesignDpi;
    const int height = -MulDiv(8, dpi, 72);
    return CreateFontShowing({height, DEFAULT_CHARSET, "MS Sans Serif"}, texts);
}

// The dialog units of the font selected into dc: X the average width of the
// 52 letters A-Z a-z, truncated, and Y their height. Every size of the prompt
// is made of them, so without them there is no prompt to show.
SIZE AverageCharSize(HDC dc) {
    SIZE sample{};
    if (!GetTextExtentPointA(dc, layout::kUnitSample, layout::kUnitSampleLength, &sample) ||
        sample.cy <= 0) {
        throw KxError("Cannot measure the prompt's font");
    }
    return SIZE{layout::AverageCharWidth(sample.cx), sample.cy};
}

// The button captions come from the string table, where a translation of
// the program would put its own.
AnsiString LoadCaption(UINT id) {
    char text[64] = {};
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    if (length <= 0) throw KxError("Cannot load the prompt's button captions");
    return AnsiString(text, static_cast<std::size_t>(length));
}

}  // namespace

TPromptForm::TPromptForm(const AnsiString& caption, const AnsiString& prompt,
                         const AnsiString& value) {
    EnsureWindowClass(kClassName, WindowProc, GetSysColorBrush(COLOR_BTNFACE), nullptr);
    const AnsiString ok = LoadCaption(kOkCaptionId);
    const AnsiString cancel = LoadCaption(kCancelCaptionId);
    font_ = CreateDialogFont({prompt.c_str(), value.c_str(), ok.c_str(), cancel.c_str()});
    if (!CreateWindowExA(kExStyle, kClassName, caption.c_str(), kStyle, 0, 0, 0, 0,
                         Application().Handle(), nullptr, GetModuleHandleA(nullptr), this)) {
        throw KxError("Cannot create the prompt window");
    }
    try {
        CreateControls(prompt, value);
    } catch (...) {
        DestroyWindow(hwnd_);
        throw;
    }
    Application().AddForm(*this);
    registered_ = true;
}

TPromptForm::~TPromptForm() {
    if (registered_) Application().RemoveForm(*this);
    if (hwnd_) DestroyWindow(hwnd_);
}

HWND TPromptForm::CreateChild(const char* cls, const char* text, DWORD style, DWORD exStyle,
                              const layout::Rect& r, int id) {
    const HWND child = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, r.left,
                                       r.top, r.width, r.height, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleA(nullptr), nullptr);
    if (!child) throw KxError("Cannot create the prompt's controls");
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return child;
}

void TPromptForm::CreateControls(const AnsiString& prompt, const AnsiString& value) {
    layout::PromptMeasures m{};
    TEXTMETRICA metrics{};
    RECT labelBox{};
    {
        ScopedWindowDC dc(hwnd_);
        ScopedSelect select(dc.Get(), font_.Get());
        const SIZE units = AverageCharSize(dc.Get());
        m.unitX = units.cx;
        m.unitY = units.cy;
        // The sample's height is the font's height too, should the metrics fail.
        if (!GetTextMetricsA(dc.Get(), &metrics)) metrics.tmHeight = m.unitY;
        // The label sizes itself to the wrapped prompt, no wider than its maximum;
        // a prompt that cannot be measured gets one line of that width.
        labelBox = RECT{0, 0, layout::PromptLabelMaxWidth(m.unitX), 0};
        if (DrawTextA(dc.Get(), prompt.c_str(), static_cast<int>(prompt.size()), &labelBox,
                      DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS) == 0) {
            labelBox = RECT{0, 0, layout::PromptLabelMaxWidth(m.unitX), m.unitY};
        }
    }
    m.labelWidth = labelBox.right - labelBox.left;
    m.labelHeight = labelBox.bottom - labelBox.top;
    m.editHeight = metrics.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER);
    const layout::PromptRects r = layout::LayoutPrompt(m);

    label_ = CreateChild("STATIC", prompt.c_str(), SS_LEFT, 0, r.label, kLabelId);
    edit_ = CreateChild("EDIT", value.c_str(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                        r.edit, kEditId);
    SendMessageA(edit_, EM_LIMITTEXT, kMaxInputBytes, 0);
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    ok_ = CreateChild("BUTTON", LoadCaption(kOkCaptionId).c_str(), WS_TABSTOP | BS_DEFPUSHBUTTON,
                      0, r.ok, kOkId);
    cancel_ = CreateChild("BUTTON", LoadCaption(kCancelCaptionId).c_str(),
                          WS_TABSTOP | BS_PUSHBUTTON, 0, r.cancel, kCancelId);
    keys_ = DialogKeys{{edit_, ok_, cancel_}, ok_, cancel_};
    PlaceOnScreen(r.clientWidth, r.clientHeight);
}

void TPromptForm::PlaceOnScreen(int clientWidth, int clientHeight) {
    RECT frame{0, 0, clientWidth, clientHeight};
    // Cannot fail for these fixed styles; if it did, the window would only be
    // the client size, and the prompt still works.
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const layout::Point onPrimary = layout::CentredOrigin(
        layout::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, width,
        height);
    // The window was created without a size: unplaced, it could not be seen.
    if (!SetWindowPos(hwnd_, nullptr, onPrimary.x, onPrimary.y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE)) {
        throw KxError("Cannot place the prompt window");
    }

    // When the main form stands on another monitor, the prompt follows it there.
    const HWND form = Application().MainFormHandle();
    if (!form) return;
    const HMONITOR formMonitor = MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST);
    if (formMonitor == MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST)) return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(formMonitor, &info)) return;
    const RECT& mr = info.rcMonitor;
    const layout::Point onForm = layout::CentredOrigin(
        layout::Rect{mr.left, mr.top, mr.right - mr.left, mr.bottom - mr.top}, width, height);
    // Should the move fail, the prompt stays centred on the primary screen.
    SetWindowPos(hwnd_, nullptr, onForm.x, onForm.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TPromptForm::ShowModal() {
    CancelMouseCapture();
    ReleaseCapture();
    // Declared so that they unwind as the restoring steps go, also when an
    // error leaves the loop: hide, re-enable, re-activate.
    ReactivateOnExit reactivate(GetActiveWindow());
    DisabledThreadWindows disabled;
    struct HideOnExit {
        HWND window;
        ReactivateOnExit& reactivate;
        ~HideOnExit() {
            // Activation moved elsewhere meanwhile is the user's choice to keep.
            if (GetActiveWindow() != window) reactivate.Cancel();
            ShowWindow(window, SW_HIDE);
        }
    } hide{hwnd_, reactivate};

    ShowWindow(hwnd_, SW_SHOWNORMAL);
    modalResult_ = kNone;
    while (modalResult_ == kNone) {
        Application().HandleMessage();
        if (Application().Terminated()) modalResult_ = kCancel;
    }
    return modalResult_;
}

AnsiString TPromptForm::EditText() const {
    const int length = GetWindowTextLengthA(edit_);
    AnsiString text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(edit_, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

bool TPromptForm::PreTranslateKey(const MSG& msg) { return HandleDialogKey(msg, keys_); }

void TPromptForm::OnCommand(int id, int code) {
    if (id == kOkId && code == BN_CLICKED) modalResult_ = kOk;
    if (id == kCancelId && code == BN_CLICKED) modalResult_ = kCancel;
    // Focus that arrives by the keyboard (or at start) selects the whole text,
    // so typing replaces it; a click keeps the caret where it was put.
    if (id == kEditId && code == EN_SETFOCUS && (GetKeyState(VK_LBUTTON) & 0x8000) == 0) {
        SendMessageA(edit_, EM_SETSEL, 0, -1);
    }
}

LRESULT TPromptForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        focus_.OnActivate(hwnd_, LOWORD(wParam) != WA_INACTIVE, edit_);
        return 0;
    case WM_CLOSE:
        // Close button, Alt+F4 and Close on the window menu all cancel.
        modalResult_ = kCancel;
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

}  // namespace kx::win
