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

TEST(ErrorDisplay, FileHeldOpenElsewhereShowsTheErrorBoxAndTheToolGoesOn) {
    // The project exists and its project file is held open with no sharing,
    // so emptying the folder leaves it and writing it fails.
    HANDLE held = INVALID_HANDLE_VALUE;
    Text projectFile;
    GuiSession gui("KXProjectMaker.exe", [&](const Text& folder) {
        const Text root = folder + "\\" + texts::kOutputRoot;
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "\\demo").c_str(), nullptr);
        projectFile = root + "\\demo\\demo.kxproj";
        held = CreateFileA(projectFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    });
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(gui.Start());

    // What the writer will meet, and so what the box must say.
    const HANDLE probe = CreateFileA(projectFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_EQ(probe, INVALID_HANDLE_VALUE);
    const DWORD code = GetLastError();
    char full[MAX_PATH] = {};
    GetFullPathNameA(projectFile.c_str(), MAX_PATH, full, nullptr);
    const Text expected =
        WithFullStopRule("Cannot create file \"" + Text(full) + "\". " + SystemText(code));

    auto generateDemo = [&] {
        gui.Press(VK_RETURN);
        const HWND prompt = gui.WaitForWindow("TPromptForm");
        ASSERT_NE(prompt, nullptr);
        const HWND edit = FindWindowExA(prompt, nullptr, "Edit", nullptr);
        ASSERT_TRUE(gui.WaitForFocus(edit));
        gui.Type("demo");
        gui.Press(VK_RETURN);
        const HWND question = gui.WaitForWindow("#32770");
        ASSERT_NE(question, nullptr);
        gui.Press(VK_TAB);  // on to OK: regenerate
        gui.Press(VK_RETURN);
        ASSERT_TRUE(gui.WaitUntilGone(question));
    };
    generateDemo();
    if (HasFatalFailure()) return;

    const HWND box = gui.WaitForWindow("#32770");
    ASSERT_NE(box, nullptr);
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
    CloseHandle(held);

    // The loop went on: the main window has its focus back and Generate works.
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 5000));
    const HWND btn1 = gui.Child(gui.MainWindow(), "Button", "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF");
    EXPECT_TRUE(gui.WaitForFocus(btn1));
    generateDemo();
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
