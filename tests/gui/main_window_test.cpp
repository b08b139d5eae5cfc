// The main window from outside: layout, application window and title,
// keyboard, minimising, and the ways the program ends.
#include <gtest/gtest.h>

#include "GuiSession.h"

namespace kxgui {
namespace {

struct Expected {
    const char* cls;
    Text text;
    int left, top, width, height;  // design pixels; a label's size comes from its text
};

// The design tables: creation order, class, text, bounds.
const Expected kControls[] = {
    {"Static", "", 24, 16, 162, 162},
    // 如果您觉得好用，请用微信扫码捐赠，金额不限。
    {"Static",
     "\xC8\xE7\xB9\xFB\xC4\xFA\xBE\xF5\xB5\xC3\xBA\xC3\xD3\xC3\xA3\xAC\xC7\xEB\xD3\xC3\xCE\xA2"
     "\xD0\xC5\xC9\xA8\xC2\xEB\xBE\xE8\xD4\xF9\xA3\xAC\xBD\xF0\xB6\xEE\xB2\xBB\xCF\xDE\xA1\xA3",
     16, 200, 308, 14},
    // 您的鼓励，是我前行的动力！
    {"Static",
     "\xC4\xFA\xB5\xC4\xB9\xC4\xC0\xF8\xA3\xAC\xCA\xC7\xCE\xD2\xC7\xB0\xD0\xD0\xB5\xC4\xB6\xAF"
     "\xC1\xA6\xA3\xA1",
     64, 224, 182, 14},
    {"Static", "KX\xB9\xA4\xBE\xDF\xCF\xC2\xD4\xD8", 226, 112, 70, 14},  // KX工具下载
    {"Button", "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF", 217, 24, 89, 25},  // 生成KX项目
    {"Button", "\xCD\xCB\xB3\xF6", 217, 64, 89, 25},                    // 退出
};

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        children.push_back(c);
    }
    return children;
}

TEST(MainWindow, FollowsTheLayoutTablesAtTheMeasuredTextHeight) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND main = gui.MainWindow();
    const int h = TextHeightOfWindowFont();
    auto scaled = [h](int v) { return MulDiv(v, h, 13); };
    RecordProperty("window_font_text_height", h);

    EXPECT_EQ(WindowText(main), texts::kMainCaption);
    RECT outer{};
    GetWindowRect(main, &outer);
    EXPECT_EQ(outer.left, 588);
    EXPECT_EQ(outer.top, 264);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, scaled(332));
    EXPECT_EQ(client.bottom, scaled(251));

    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(GetWindow(main, GW_OWNER), gui.AppWindow());

    const std::vector<HWND> children = Children(main);
    ASSERT_EQ(children.size(), std::size(kControls));
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Expected& e = kControls[i];
        SCOPED_TRACE("control " + std::to_string(i));
        char cls[32] = {};
        GetClassNameA(children[i], cls, sizeof cls);
        EXPECT_STREQ(cls, e.cls);
        EXPECT_EQ(WindowText(children[i]), e.text);
        const RECT r = ClientRectOnParent(children[i]);
        EXPECT_EQ(r.left, scaled(e.left));
        EXPECT_EQ(r.top, scaled(e.top));
        int width = scaled(e.width);
        int height = scaled(e.height);
        if (i == 0) {
            width = height = 162;  // the picture keeps its own size
        } else if (!e.text.empty() && std::string(e.cls) == "Static") {
            const SIZE text = LabelTextSize(e.text, MulDiv(-14, h, 13));
            width = text.cx;
            height = text.cy;
            // Sized by the 14-pixel label font, whatever face stands in for
            // it: close to the table's text widths.
            EXPECT_NEAR(r.right - r.left, scaled(e.width), scaled(e.width) / 10);
        }
        EXPECT_EQ(r.right - r.left, width);
        EXPECT_EQ(r.bottom - r.top, height);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
    }
    // The buttons are the only focus stops, and neither is a default button.
    for (std::size_t i = 4; i < 6; ++i) {
        const LONG s = GetWindowLongA(children[i], GWL_STYLE);
        EXPECT_TRUE(s & WS_TABSTOP);
        EXPECT_EQ(s & BS_TYPEMASK, BS_PUSHBUTTON);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_FALSE(GetWindowLongA(children[i], GWL_STYLE) & WS_TABSTOP);
    }
    EXPECT_EQ(GetWindowLongA(children[0], GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
}

TEST(MainWindow, ApplicationWindowCarriesTheTitle) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND app = gui.AppWindow();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(WindowText(app), "Kxprojectmaker");
    RECT r{};
    GetWindowRect(app, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2);
    EXPECT_EQ(GetWindow(app, GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongA(app, GWL_STYLE) & WS_VISIBLE);
}

TEST(MainWindow, TitleIsTheExecutablesBaseName) {
    {
        GuiSession gui("ProjectMaker.exe");
        ASSERT_TRUE(gui.Start());
        EXPECT_EQ(WindowText(gui.AppWindow()), "Projectmaker");
    }
    {
        GuiSession gui("Gen.old.exe");
        ASSERT_TRUE(gui.Start());
        EXPECT_EQ(WindowText(gui.AppWindow()), "Gen");
    }
}

TEST(MainWindow, KeysMoveTheFocusBetweenTheTwoButtons) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND main = gui.MainWindow();
    const HWND btn1 = gui.Child(main, "Button", "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF");
    const HWND btn2 = gui.Child(main, "Button", "\xCD\xCB\xB3\xF6");
    ASSERT_TRUE(gui.WaitForFocus(btn1));

    struct Step {
        WORD key;
        bool shift;
        HWND then;
    };
    const Step steps[] = {{VK_TAB, false, btn2},   {VK_TAB, false, btn1},
                          {VK_TAB, true, btn2},    {VK_TAB, true, btn1},
                          {VK_RIGHT, false, btn2}, {VK_DOWN, false, btn1},
                          {VK_LEFT, false, btn2},  {VK_UP, false, btn1}};
    for (const Step& step : steps) {
        gui.Press(step.key, step.shift);
        EXPECT_TRUE(gui.WaitForFocus(step.then)) << "key " << step.key;
    }
    // Ctrl+Tab and Escape do nothing at all.
    gui.Press(VK_TAB, false, true);
    gui.Press(VK_ESCAPE);
    Sleep(500);
    EXPECT_EQ(gui.FocusedWindow(), btn1);
    EXPECT_TRUE(gui.NoDialogOpen());
    EXPECT_TRUE(gui.Running());
}

TEST(MainWindow, EveryWayOfEndingExitsWithCodeZeroWithoutAQuestion) {
    struct Ending {
        const char* name;
        std::function<void(const GuiSession&)> act;
    };
    const Ending endings[] = {
        {"Enter on Exit", [](const GuiSession& gui) {
             gui.Press(VK_TAB);
             gui.Press(VK_RETURN);
         }},
        {"Space on Exit", [](const GuiSession& gui) {
             gui.Press(VK_TAB);
             gui.Press(VK_SPACE);
         }},
        // What the title bar's close button sends.
        {"close button", [](const GuiSession& gui) {
             PostMessageA(gui.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
        {"Alt+F4", [](const GuiSession& gui) { gui.Press(VK_F4, false, false, true); }},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.name);
        GuiSession gui;
        ASSERT_TRUE(gui.Start());
        ending.act(gui);
        DWORD code = 99;
        ASSERT_TRUE(gui.WaitForExit(20000, &code));
        EXPECT_EQ(code, 0u);
    }
}

TEST(MainWindow, MinimisingMinimisesTheApplication) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND main = gui.MainWindow();
    const HWND app = gui.AppWindow();
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(app) != FALSE; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, 5000));
    PostMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(app) && IsWindowVisible(main); }, 5000));
}

TEST(MainWindow, LinkClickBringsNoMessageFromTheProgram) {
    GuiSession gui;
    ASSERT_TRUE(gui.Start());
    const HWND link = gui.Child(gui.MainWindow(), "Static", "KX\xB9\xA4\xBE\xDF\xCF\xC2\xD4\xD8");
    ASSERT_NE(link, nullptr);
    RECT r{};
    GetWindowRect(link, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(200);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Sleep(3000);
    EXPECT_TRUE(gui.NoDialogOpen());
    EXPECT_TRUE(gui.Running());
    EXPECT_TRUE(IsWindowEnabled(gui.MainWindow()));
}

}  // namespace
}  // namespace kxgui
