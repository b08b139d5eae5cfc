// The application object: the zero-size application window that carries the
// taskbar entry, owns every dialog and box and holds the application title;
// the main form; and the message loop.
#pragma once

#include <windows.h>

#include <vector>

#include "BaseWindow.h"

namespace kx::win {

// A top-level window of ours that handles some keys before they are dispatched
// (focus movement, Enter, Escape), the way a dialog manager would.
class KeyboardForm {
public:
    virtual ~KeyboardForm() = default;
    virtual HWND FormHandle() const = 0;
    // True when the message was used up.
    virtual bool PreTranslateKey(const MSG& msg) = 0;
};

class TApplication : public BaseWindow<TApplication> {
public:
    // Creates the application window, titled after the executable.
    void Initialize();
    // The first form registered becomes the main form.
    void AddForm(KeyboardForm& form);
    void RemoveForm(KeyboardForm& form);
    HWND MainFormHandle() const { return mainForm_ ? mainForm_->FormHandle() : nullptr; }

    // Shows the main form as the process was asked to and runs the loop
    // until the quit message; the exit code is always 0.
    int Run(int showCommand);
    // Takes and dispatches one message; errors go to the error display.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void Minimize();

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void ProcessMessage(MSG& msg);

    std::vector<KeyboardForm*> forms_;
    KeyboardForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

TApplication& Application();

// The application window's text, at most 255 bytes: the caption of every
// error box.
AnsiString ApplicationTitle();

// The default title: the executable's file name, read as OEM text, without
// folder and extension, every character after the first in lower case.
AnsiString DefaultApplicationTitle();

}  // namespace kx::win
