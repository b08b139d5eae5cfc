#include "Unitmain.h"

#include <shellapi.h>

#include <vector>

#include "FontChoice.h"
#include "GenerateProject.h"
#include "MainLayout.h"
#include "ProgramTexts.h"
#include "SystemHost.h"
#include "Win32Dialogs.h"

namespace kx::win {

TfrmMain* frmMain = nullptr;

namespace {

using layout::ControlKind;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_WINDOWEDGE;
// Child ids follow the design table's order.
constexpr int kFirstId = 1000;
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);

constexpr char kCaption[] = KX_TEXT_MAIN_CAPTION;
constexpr char kLabelFace[] = KX_TEXT_LABEL_FACE;

const char kDownloadUrl[] = KX_DOWNLOAD_URL;

// The texts a font must be able to show: the design table's, by control kind.
template <ControlKind... kinds>
std::vector<const char*> TextsOf() {
    std::vector<const char*> texts;
    for (const layout::ControlDesign& design : layout::kMainControls) {
        if (((design.kind == kinds) || ...)) texts.push_back(design.text);
    }
    return texts;
}

}  // namespace

void TfrmMain::CreateFonts() {
    int dpi = layout::kDesignDpi;
    {
        // Without a screen DC the design resolution stands in.
        ScopedWindowDC screen(nullptr);
        if (const int screenDpi = GetDeviceCaps(screen.Get(), LOGPIXELSY); screenDpi > 0) dpi = screenDpi;
    }
    windowFont_ = CreateFontShowing(
        {layout::WindowFontHeightForDpi(dpi), DEFAULT_CHARSET, "MS Sans Serif"},
        TextsOf<ControlKind::Button>());
    {
        ScopedWindowDC screen(nullptr);
        ScopedSelect select(screen.Get(), windowFont_.Get());
        SIZE zero{};
        if (GetTextExtentPoint32A(screen.Get(), "0", 1, &zero) && zero.cy > 0) textHeight_ = zero.cy;
    }
    labelFont_ = CreateFontShowing(
        {layout::ScaleLength(layout::kLabelFontHeight, textHeight_), ANSI_CHARSET, kLabelFace},
        TextsOf<ControlKind::Label, ControlKind::LinkLabel>());
}

SIZE TfrmMain::MeasureLabel(const char* text, SIZE fallback) const {
    // The static control draws the text as Unicode converted from the ANSI
    // code page, so it is measured the same way. A label that cannot be
    // measured keeps its design size rather than vanishing at zero size.
    wchar_t wide[128] = {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 128);
    if (length <= 0) return fallback;
    ScopedWindowDC dc(hwnd_);
    ScopedSelect select(dc.Get(), labelFont_.Get());
    SIZE size{};
    if (!GetTextExtentPoint32W(dc.Get(), wide, length - 1, &size)) return fallback;
    return size;
}

HWND TfrmMain::CreateControl(const char* cls, const char* text, DWORD style, int left, int top,
                             int width, int height, int id, HFONT font) {
    const HWND control = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, left, top,
                                         width, height, hwnd_,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         GetModuleHandleA(nullptr), nullptr);
    if (!control) throw KxError("Cannot create the main window's controls");
    if (font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void TfrmMain::Create(HWND owner) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    EnsureWindowClass(kClassName, WindowProc, GetSysColorBrush(COLOR_BTNFACE),
                      LoadIconA(instance, "MAINICON"));
    CreateFonts();

    RECT frame{0, 0, layout::ScaleLength(layout::kDesignClientWidth, textHeight_),
               layout::ScaleLength(layout::kDesignClientHeight, textHeight_)};
    // Cannot fail for these fixed styles; if it did, the frame would only be
    // the client size, and the window still works.
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    if (!CreateWindowExA(kExStyle, kClassName, kCaption, kStyle, layout::kWindowPosition.x,
                         layout::kWindowPosition.y, frame.right - frame.left,
                         frame.bottom - frame.top, owner, nullptr, instance, this)) {
        throw KxError("Cannot create the main window");
    }

    // The picture is built in; should it not load, its place stays empty and
    // every control still works.
    picture_ = Bitmap(static_cast<HBITMAP>(
        LoadImageA(instance, "QRCODE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    HWND* const slots[] = {&img1, &lbl1, &lbl2, &lbl3, &btn1, &btn2};
    for (std::size_t i = 0; i < layout::kMainControls.size(); ++i) {
        const layout::ControlDesign& design = layout::kMainControls[i];
        const layout::Rect r = layout::ScaleRect(design.bounds, textHeight_);
        const int id = kFirstId + static_cast<int>(i);
        switch (design.kind) {
        case ControlKind::Picture: {
            // Sized by its picture, which is never stretched.
            *slots[i] = CreateControl("STATIC", "", SS_BITMAP, r.left, r.top, 0, 0, id, nullptr);
            SendMessageA(*slots[i], STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(picture_.Get()));
            break;
        }
        case ControlKind::Label:
        case ControlKind::LinkLabel: {
            const SIZE size = MeasureLabel(design.text, SIZE{r.width, r.height});
            const DWORD notify = design.kind == ControlKind::LinkLabel ? SS_NOTIFY : 0;
            *slots[i] = CreateControl("STATIC", design.text, SS_LEFTNOWORDWRAP | notify, r.left,
                                      r.top, size.cx, size.cy, id, labelFont_.Get());
            break;
        }
        case ControlKind::Button:
            *slots[i] = CreateControl("BUTTON", design.text, WS_TABSTOP | BS_PUSHBUTTON, r.left,
                                      r.top, r.width, r.height, id, windowFont_.Get());
            break;
        }
    }
    keys_ = DialogKeys{{btn1, btn2}, nullptr, nullptr};
}

void TfrmMain::btn1Click(HWND /*Sender*/) {
    SystemHost host;
    Win32Dialogs dialogs;
    ShowOutcome(GenerateProject(dialogs, host));
}

void TfrmMain::btn2Click(HWND /*Sender*/) { Application().Terminate(); }

void TfrmMain::lbl3Click(HWND /*Sender*/) {
    // Whatever the shell makes of the address is its own business: a missing
    // browser is reported by the shell, if at all.
    ShellExecuteA(nullptr, "open", kDownloadUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

bool TfrmMain::PreTranslateKey(const MSG& msg) { return HandleDialogKey(msg, keys_); }

void TfrmMain::OnCommand(int /*id*/, int code, HWND control) {
    if (control == btn1 && code == BN_CLICKED) btn1Click(control);
    else if (control == btn2 && code == BN_CLICKED) btn2Click(control);
    else if (control == lbl3 && code == STN_CLICKED) lbl3Click(control);
}

LRESULT TfrmMain::OnCtlColorStatic(HDC dc, HWND control) {
    // The labels have no box of their own: they take the window's colour.
    // A colour the DC refuses leaves the default one; nothing else depends on it.
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    if (control == lbl1 || control == lbl2) SetTextColor(dc, kPurple);
    else if (control == lbl3) SetTextColor(dc, kBlue);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool TfrmMain::OnSetCursor(HWND under, int hitTest) {
    if (under != lbl3 || hitTest != HTCLIENT) return false;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    return true;
}

LRESULT TfrmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
        return DefaultProc(msg, wParam, lParam);
    case WM_ACTIVATE:
        focus_.OnActivate(hwnd_, LOWORD(wParam) != WA_INACTIVE, btn1);
        return 0;
    case WM_SYSCOMMAND:
        // The main form minimises the whole application to its taskbar entry.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            Application().Minimize();
            return 0;
        }
        return DefaultProc(msg, wParam, lParam);
    case WM_CLOSE:
        // No question: closing the main form ends the program like Exit.
        Application().Terminate();
        return 0;
    default:
        return DefaultProc(msg, wParam, lParam);
    }
}

}  // namespace kx::win
