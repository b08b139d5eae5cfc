// A file the workflow cannot create ends the press in the error display:
// the application title as caption, the message with the full-stop rule,
// and the tool goes on.
#include <gtest/gtest.h>

#include "GuiSession.h"

namespace kxgui {
namespace {

// The operating system's text for an error code, trailing blanks, line
// breaks and full stops removed, as the file writers quote it.
Text SystemText(DWORD code) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_ARGUMENT_ARRAY,
                   nullptr, code, 0, text, sizeof text, nullptr);
    Text result = text;
    while (!result.empty() &&
           (static_cast<unsigned char>(result.back()) < 0x21 || result.back() == '.')) {
        result.pop_back();
    }
    return result;
}

// The box text: a "." follows unless the last character (by the code page's
// lead bytes) is "." or below.
Text WithFullStopRule(const Text& message) {
    if (message.empty()) return message;
    const char* last = message.c_str();
    for (const char* p = message.c_str(); *p; p = CharNextA(p)) last = p;
    return static_cast<unsigned char>(*last) > '.' ? message + "." : message;
}

// A file the system cannot create: the name is as long as lets the project's
// folders be made (paths of up to MAX_PATH characters) while the first script
// inside them, 运行时设置函数.kx, passes that length. (A project file held open
// elsewhere no longer gets this far: regenerating stops before, when the old
// files cannot all go to the recycle bin.)
TEST(ErrorDisplay, FileTheSystemCannotCreateShowsTheErrorBoxAndTheToolGoesOn) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const Text root = gui.OutputRoot();
    ASSERT_LT(root.size(), 240u);
    const Text name((258 - root.size()) / 2, 'a');
    const Text sourceFolder = root + "\\" + name + "\\" + name;
    ASSERT_LE(sourceFolder.size(), static_cast<std::size_t>(MAX_PATH));
    // 运行时设置函数.kx
    const Text script = sourceFolder + "\\\xD4\xCB\xD0\xD0\xCA\xB1\xC9\xE8\xD6\xC3\xBA\xAF\xCA\xFD.kx";
    ASSERT_GT(script.size(), static_cast<std::size_t>(MAX_PATH));

    // What the writer will meet, and so what the box must say: the path as
    // passed, since it is longer than the full-path buffer.
    const HANDLE probe = CreateFileA(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(probe, INVALID_HANDLE_VALUE);
    const Text expected =
        WithFullStopRule("Cannot create file \"" + script + "\". " + SystemText(GetLastError()));

    auto generate = [&](const Text& typed) {
        gui.Press(VK_RETURN);
        const HWND prompt = gui.WaitForWindow("TPromptForm");
        ASSERT_NE(prompt, nullptr);
        const HWND edit = FindWindowExA(prompt, nullptr, "Edit", nullptr);
        ASSERT_TRUE(gui.WaitForFocus(edit));
        gui.Type(typed);
        gui.Press(VK_RETURN);
        ASSERT_TRUE(gui.WaitUntilGone(prompt));
    };
    generate(name);
    if (HasFatalFailure()) return;

    const HWND box = gui.WaitForWindow("#32770");
    ASSERT_NE(box, nullptr);
    // The long path makes the box about as wide as the screen; centred, its
    // icon may stand off the left edge, where no pixel can be read.
    SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(300);
    const MessageBoxView view = gui.ReadMessageBox(box);
    EXPECT_EQ(view.caption, "Kxprojectmaker");
    EXPECT_EQ(view.text, expected);
    EXPECT_EQ(view.icon, BoxIcon::Stop);
    EXPECT_EQ(view.buttons.size(), 1u);
    EXPECT_EQ(GetWindow(box, GW_OWNER), gui.AppWindow());
    EXPECT_FALSE(IsWindowEnabled(gui.MainWindow()));

    gui.Press(VK_RETURN);
    ASSERT_TRUE(gui.WaitUntilGone(box));

    // The loop went on: the main window has its focus back and Generate works.
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 5000));
    const HWND btn1 = gui.Child(gui.MainWindow(), "Button", "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF");
    EXPECT_TRUE(gui.WaitForFocus(btn1));
    generate("demo");
    const Text projectFile = root + "\\demo\\demo.kxproj";
    EXPECT_TRUE(WaitFor([&] {
        const HANDLE f = CreateFileA(projectFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        const DWORD size = GetFileSize(f, nullptr);
        CloseHandle(f);
        return size > 0;
    }, 10000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 10000));
    EXPECT_TRUE(gui.NoDialogOpen());
}

}  // namespace
}  // namespace kxgui
