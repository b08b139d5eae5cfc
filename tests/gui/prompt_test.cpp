// The name prompt that Generate opens: layout in dialog units, preset text,
// keyboard, and what each way of ending it generates.
#include <gtest/gtest.h>

#include "GuiSession.h"

namespace kxgui {
namespace {

struct DialogUnits {
    int x;
    int y;
    int textHeight;
    SIZE label;
};

// Measures the prompt's font the way the platform's dialog units are defined.
DialogUnits MeasurePromptFont(const Text& label, int maxLabelWidthUnits) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0,
                             FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    HGDIOBJ old = SelectObject(screen, font);
    SIZE sample{};
    GetTextExtentPointA(screen, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                        &sample);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    DialogUnits u{sample.cx / 52, sample.cy, metrics.tmHeight, {}};
    RECT box{0, 0, MulDiv(maxLabelWidthUnits, u.x, 4), 0};
    DrawTextA(screen, label.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    u.label = SIZE{box.right, box.bottom};
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return u;
}

void ExpectBounds(HWND control, int left, int top, int width, int height) {
    ASSERT_NE(control, nullptr);
    const RECT r = ClientRectOnParent(control);
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
}

HWND EditOf(HWND prompt) {
    return FindWindowExA(prompt, nullptr, "Edit", nullptr);
}

HWND OpenPrompt(GuiSession& gui) {
    gui.Press(VK_RETURN);
    return gui.WaitForWindow("TPromptForm");
}

Text ProjectFile(const GuiSession& gui, const Text& name) {
    return gui.OutputRoot() + "\\" + name + "\\" + name + ".kxproj";
}

TEST(NamePrompt, EnterAtStartOpensItLaidOutInDialogUnits) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND prompt = OpenPrompt(gui);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(WindowText(prompt), texts::kPromptTitle);
    EXPECT_EQ(GetWindow(prompt, GW_OWNER), gui.AppWindow());

    const DialogUnits u = MeasurePromptFont(texts::kPromptLabel, 164);
    const HWND label = gui.Child(prompt, "Static", texts::kPromptLabel);
    const HWND edit = EditOf(prompt);
    const HWND ok = gui.Child(prompt, "Button", "OK");
    const HWND cancel = gui.Child(prompt, "Button", "Cancel");
    const int left = MulDiv(8, u.x, 4);
    const int labelTop = MulDiv(8, u.y, 8);
    ExpectBounds(label, left, labelTop, u.label.cx, u.label.cy);
    const int editTop = labelTop + u.label.cy + 5;
    const int editHeight = u.textHeight + 8 * GetSystemMetrics(SM_CYBORDER);
    ExpectBounds(edit, left, editTop, MulDiv(164, u.x, 4), editHeight);
    const int buttonTop = editTop + editHeight + 15;
    const int buttonWidth = MulDiv(50, u.x, 4);
    const int buttonHeight = MulDiv(14, u.y, 8);
    ExpectBounds(ok, MulDiv(38, u.x, 4), buttonTop, buttonWidth, buttonHeight);
    ExpectBounds(cancel, MulDiv(92, u.x, 4), buttonTop, buttonWidth, buttonHeight);
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    // The captions are the program's string resources 65370 and 65371.
    const HMODULE program =
        LoadLibraryExA(gui.ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const struct {
        UINT id;
        const char* caption;
    } strings[] = {{65370, "OK"}, {65371, "Cancel"}};
    for (const auto& s : strings) {
        char loaded[32] = {};
        EXPECT_GT(LoadStringA(program, s.id, loaded, sizeof loaded), 0) << s.id;
        EXPECT_STREQ(loaded, s.caption);
    }
    FreeLibrary(program);

    RECT client{};
    GetClientRect(prompt, &client);
    EXPECT_EQ(client.right, MulDiv(180, u.x, 4));
    EXPECT_EQ(client.bottom, buttonTop + buttonHeight + 13);
    RECT outer{};
    GetWindowRect(prompt, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
    const LONG style = GetWindowLongA(prompt, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    // The preset is the default name, all selected, and the field has the focus.
    const Text name = DefaultProjectName();
    EXPECT_EQ(WindowText(edit), name);
    const DWORD selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), name.size());
    EXPECT_TRUE(gui.WaitForFocus(edit));
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 255);

    // Every other window of the program is disabled meanwhile.
    EXPECT_FALSE(IsWindowEnabled(gui.MainWindow()));
    EXPECT_FALSE(IsWindowEnabled(gui.AppWindow()));

    gui.Press(VK_ESCAPE);
    EXPECT_TRUE(gui.WaitUntilGone(prompt));
    EXPECT_TRUE(WaitFor([&] { return FileExists(ProjectFile(gui, name)); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 10000));
}

TEST(NamePrompt, TypedNameAndOkGeneratesThatProject) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND prompt = OpenPrompt(gui);
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(gui.WaitForFocus(EditOf(prompt)));
    gui.Type("demo");  // replaces the selected preset
    EXPECT_EQ(WindowText(EditOf(prompt)), "demo");
    gui.Press(VK_RETURN);
    EXPECT_TRUE(gui.WaitUntilGone(prompt));
    const Text project = gui.OutputRoot() + "\\demo";
    EXPECT_TRUE(WaitFor([&] { return FileExists(project + "\\demo.kxproj"); }, 10000));
    // The main script is written after the project file.
    EXPECT_TRUE(WaitFor([&] { return FileExists(project + "\\demo\\demo.kx"); }, 10000));
    EXPECT_TRUE(DirectoryExists(project + "\\" + texts::kBuildFolder));
    EXPECT_FALSE(DirectoryExists(gui.OutputRoot() + "\\" + DefaultProjectName()));
}

TEST(NamePrompt, EveryEndingButOkGeneratesTheDefaultName) {
    const Text name = DefaultProjectName();
    struct Ending {
        const char* name;
        std::function<void(const GuiSession&, HWND prompt)> act;
    };
    const Ending endings[] = {
        // Focus order edit, OK, Cancel: two Tabs reach Cancel, Enter presses it.
        {"Cancel", [](const GuiSession& gui, HWND prompt) {
             gui.Press(VK_TAB);
             EXPECT_TRUE(gui.WaitForFocus(gui.Child(prompt, "Button", "OK")));
             gui.Press(VK_TAB);
             EXPECT_TRUE(gui.WaitForFocus(gui.Child(prompt, "Button", "Cancel")));
             gui.Press(VK_RETURN);
         }},
        {"Escape in the field", [](const GuiSession& gui, HWND) { gui.Press(VK_ESCAPE); }},
        {"close button", [](const GuiSession&, HWND prompt) {
             PostMessageA(prompt, WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
        {"Alt+F4", [](const GuiSession& gui, HWND) { gui.Press(VK_F4, false, false, true); }},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        GuiSession gui;
        ASSERT_TRUE(gui.Start());
        const HWND prompt = OpenPrompt(gui);
        ASSERT_NE(prompt, nullptr);
        ASSERT_TRUE(gui.WaitForFocus(EditOf(prompt)));
        gui.Type("other");
        ending.act(gui, prompt);
        EXPECT_TRUE(gui.WaitUntilGone(prompt));
        EXPECT_TRUE(WaitFor([&] { return FileExists(ProjectFile(gui, name)); }, 10000));
        EXPECT_FALSE(DirectoryExists(gui.OutputRoot() + "\\other"));
    }
}

TEST(NamePrompt, QuitMessageEndsItLikeCancelAndThenTheProgram) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND prompt = OpenPrompt(gui);
    ASSERT_NE(prompt, nullptr);
    gui.Type("other");
    PostThreadMessageA(gui.ThreadId(), WM_QUIT, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(gui.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
    // The press went on with the preset name before the loop ended.
    EXPECT_TRUE(FileExists(ProjectFile(gui, DefaultProjectName())));
    EXPECT_FALSE(DirectoryExists(gui.OutputRoot() + "\\other"));
}

TEST(NamePrompt, KeysMoveTheFocusAndFocusByKeySelectsAll) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND prompt = OpenPrompt(gui);
    ASSERT_NE(prompt, nullptr);
    const HWND edit = EditOf(prompt);
    const HWND ok = gui.Child(prompt, "Button", "OK");
    const HWND cancel = gui.Child(prompt, "Button", "Cancel");
    ASSERT_TRUE(gui.WaitForFocus(edit));

    // In the field the arrows move the caret, not the focus.
    gui.Press(VK_RIGHT);
    Sleep(200);
    EXPECT_EQ(gui.FocusedWindow(), edit);
    const DWORD caret = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(caret), HIWORD(caret));

    gui.Press(VK_TAB, true);  // back from the field wraps to Cancel
    EXPECT_TRUE(gui.WaitForFocus(cancel));
    gui.Press(VK_LEFT);
    EXPECT_TRUE(gui.WaitForFocus(ok));
    gui.Press(VK_RIGHT);
    EXPECT_TRUE(gui.WaitForFocus(cancel));
    gui.Press(VK_DOWN);  // forward wraps to the field, which selects all again
    EXPECT_TRUE(gui.WaitForFocus(edit));
    const DWORD selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), DefaultProjectName().size());

    gui.Press(VK_ESCAPE);
    EXPECT_TRUE(gui.WaitUntilGone(prompt));
}

}  // namespace
}  // namespace kxgui
