// The main window: the picture, the two labels of text, the download link and
// the Generate and Exit buttons.
#pragma once

#include <windows.h>

#include "Application.h"
#include "DialogKeys.h"
#include "Handle.h"

namespace kx::win {

class TfrmMain : public BaseWindow<TfrmMain>, public KeyboardForm {
public:
    static constexpr char kClassName[] = "TfrmMain";

    // Builds the window from its fixed layout, hidden; Application().Run shows it.
    void Create(HWND owner);

    void btn1Click(HWND Sender);
    void btn2Click(HWND Sender);
    void lbl3Click(HWND Sender);

    HWND FormHandle() const override { return hwnd_; }
    bool PreTranslateKey(const MSG& msg) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    // The controls. Private: only the form's own handlers and painting use them.
    HWND btn1 = nullptr;
    HWND btn2 = nullptr;
    HWND img1 = nullptr;
    HWND lbl1 = nullptr;
    HWND lbl2 = nullptr;
    HWND lbl3 = nullptr;

    void CreateFonts();
    HWND CreateControl(const char* cls, const char* text, DWORD style, int left, int top,
                       int width, int height, int id, HFONT font);
    SIZE MeasureLabel(const char* text, SIZE fallback) const;
    void OnCommand(int id, int code, HWND control);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    bool OnSetCursor(HWND under, int hitTest);

    Font windowFont_;
    Font labelFont_;
    Bitmap picture_;
    int textHeight_ = 13;
    RememberedFocus focus_;
    DialogKeys keys_;
};

// The one main form. Start-up stores it here and works through it.
extern TfrmMain* frmMain;

}  // namespace kx::win
