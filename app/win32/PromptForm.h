// The window behind RunTextPrompt, built afresh for every call.
#pragma once

#include <windows.h>

#include "Application.h"
#include "DialogKeys.h"
#include "Handle.h"
#include "PromptLayout.h"

namespace kx::win {

class TPromptForm : public BaseWindow<TPromptForm>, public KeyboardForm {
public:
    static constexpr char kClassName[] = "TPromptForm";
    enum ModalResult { kNone = 0, kOk = 1, kCancel = 2 };

    TPromptForm(const AnsiString& caption, const AnsiString& prompt, const AnsiString& value);
    ~TPromptForm() override;
    TPromptForm(const TPromptForm&) = delete;
    TPromptForm& operator=(const TPromptForm&) = delete;

    int ShowModal();
    AnsiString EditText() const;

    HWND FormHandle() const override { return hwnd_; }
    bool PreTranslateKey(const MSG& msg) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void CreateControls(const AnsiString& prompt, const AnsiString& value);
    void PlaceOnScreen(int clientWidth, int clientHeight);
    HWND CreateChild(const char* cls, const char* text, DWORD style, DWORD exStyle,
                     const layout::Rect& r, int id);
    void OnCommand(int id, int code);

    Font font_;
    HWND label_ = nullptr;
    HWND edit_ = nullptr;
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    RememberedFocus focus_;
    DialogKeys keys_;
    int modalResult_ = kNone;
    bool registered_ = false;
};

}  // namespace kx::win
