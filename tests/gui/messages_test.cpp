// What the user sees when a press of Generate goes wrong: the workflow's
// message boxes, the regeneration question and the error display.
#include <gtest/gtest.h>

#include "GuiSession.h"

namespace kxgui {
namespace {

// Opens the prompt, puts name into the field and confirms with OK.
void GenerateWith(GuiSession& gui, const Text& name) {
    gui.Press(VK_RETURN);
    const HWND prompt = gui.WaitForWindow("TPromptForm");
    ASSERT_NE(prompt, nullptr);
    const HWND edit = FindWindowExA(prompt, nullptr, "Edit", nullptr);
    ASSERT_TRUE(gui.WaitForFocus(edit));
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    gui.Press(VK_RETURN);
    ASSERT_TRUE(gui.WaitUntilGone(prompt));
}

MessageBoxView WaitForBox(GuiSession& gui) {
    const HWND box = gui.WaitForWindow("#32770");
    if (!box) return {};
    Sleep(300);  // let it paint before its icon is compared
    return gui.ReadMessageBox(box);
}

// Answers the box with Enter and checks the tool is usable again.
void DismissAndExpectIdle(GuiSession& gui, const MessageBoxView& box) {
    gui.Press(VK_RETURN);
    EXPECT_TRUE(gui.WaitUntilGone(box.window));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 5000));
    EXPECT_TRUE(gui.NoDialogOpen());
}

struct MessageCase {
    const char* what;
    Text name;
    Text text;
    Text caption;
    BoxIcon icon;
};

TEST(WorkflowMessages, EachRefusedNameShowsItsMessage) {
    const MessageCase cases[] = {
        // 项目名称不能为空。
        {"blank name", " \t ",
         "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA1\xA3",
         texts::kNotice, BoxIcon::Information},
        // 项目名称格式不正确。
        {"backslash", "a\\b",
         "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7\xA1\xA3",
         texts::kNotice, BoxIcon::Information},
        {"colon", "c:x",
         "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xB8\xF1\xCA\xBD\xB2\xBB\xD5\xFD\xC8\xB7\xA1\xA3",
         texts::kNotice, BoxIcon::Information},
        // “a*b”目录创建失败。
        {"unusable folder name", "a*b",
         "\xA1\xB0" "a*b\xA1\xB1\xC4\xBF\xC2\xBC\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC\xA1\xA3",
         texts::kError, BoxIcon::Stop},
        // “生成”目录创建失败。: the source folder takes the build folder's place.
        {"build folder", "\xC9\xFA\xB3\xC9",
         "\xA1\xB0\xC9\xFA\xB3\xC9\xA1\xB1\xC4\xBF\xC2\xBC\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC\xA1\xA3",
         texts::kError, BoxIcon::Stop},
    };
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.what);
        GenerateWith(gui, c.name);
        const MessageBoxView box = WaitForBox(gui);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(box.buttons.size(), 1u);
        EXPECT_EQ(GetWindow(box.window, GW_OWNER), gui.AppWindow());
        EXPECT_FALSE(IsWindowEnabled(gui.MainWindow()));
        DismissAndExpectIdle(gui, box);
    }
}

TEST(WorkflowMessages, OutputRootThatCannotBeCreated) {
    // A file where the output root folder should go.
    GuiSession gui("KXProjectMaker.exe", [](const Text& folder) {
        const Text path = folder + "\\" + texts::kOutputRoot;
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file);
    });
    ASSERT_TRUE(gui.Start());
    gui.Press(VK_RETURN);
    const MessageBoxView box = WaitForBox(gui);
    ASSERT_NE(box.window, nullptr);
    // “KX项目”目录创建失败。
    EXPECT_EQ(box.text,
              "\xA1\xB0KX\xCF\xEE\xC4\xBF\xA1\xB1\xC4\xBF\xC2\xBC\xB4\xB4\xBD\xA8\xCA\xA7\xB0\xDC\xA1\xA3");
    EXPECT_EQ(box.caption, texts::kError);
    EXPECT_EQ(box.icon, BoxIcon::Stop);
    DismissAndExpectIdle(gui, box);
    EXPECT_TRUE(FileExists(gui.OutputRoot()));  // the file is left alone
}

TEST(ExistsQuestion, EnterKeepsTheProjectAndOkRegeneratesIt) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const Text project = gui.OutputRoot() + "\\demo";
    GenerateWith(gui, "demo");
    ASSERT_TRUE(WaitFor([&] { return FileExists(project + "\\demo.kxproj"); }, 10000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 10000));
    const Text marker = project + "\\mine.txt";
    CloseHandle(CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(FileExists(marker));

    GenerateWith(gui, "demo");
    MessageBoxView box = WaitForBox(gui);
    ASSERT_NE(box.window, nullptr);
    // 该项目已经存在，是否重新生成？
    EXPECT_EQ(box.text,
              "\xB8\xC3\xCF\xEE\xC4\xBF\xD2\xD1\xBE\xAD\xB4\xE6\xD4\xDA\xA3\xAC\xCA\xC7\xB7\xF1"
              "\xD6\xD8\xD0\xC2\xC9\xFA\xB3\xC9\xA3\xBF");
    EXPECT_EQ(box.caption, texts::kNotice);
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.buttons.size(), 2u);
    DismissAndExpectIdle(gui, box);  // Enter lands on the default, Cancel
    EXPECT_TRUE(FileExists(marker));

    GenerateWith(gui, "demo");
    box = WaitForBox(gui);
    ASSERT_NE(box.window, nullptr);
    gui.Press(VK_TAB);  // from Cancel on to OK
    gui.Press(VK_RETURN);
    EXPECT_TRUE(gui.WaitUntilGone(box.window));
    EXPECT_TRUE(WaitFor([&] { return !FileExists(marker); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return FileExists(project + "\\demo.kxproj"); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 10000));
}

}  // namespace
}  // namespace kxgui
