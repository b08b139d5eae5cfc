// A file the workflow cannot write ends the press in the error display: the
// application title as caption, the message with the full-stop rule, and the
// tool goes on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "GuiSession.h"

namespace kxgui {
namespace {

bool FileExists(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Fills the disk of folder with file until only about leave bytes are free.
bool FillLeaving(const Text& file, const Text& folder, ULONGLONG leave) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExA((folder + "\\").c_str(), &available, &total, &free)) return false;
    if (available.QuadPart <= leave) return true;
    const HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const std::vector<char> block(4096, 'f');
    ULONGLONG left = available.QuadPart - leave;
    bool ok = true;
    while (ok && left >= block.size()) {
        DWORD written = 0;
        ok = WriteFile(h, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written == block.size();
        left -= block.size();
    }
    CloseHandle(h);
    return ok;
}

// The box text: a "." follows unless the last character (by the code page's
// lead bytes) is "." or below.
Text WithFullStopRule(const Text& message) {
    if (message.empty()) return message;
    const char* last = message.c_str();
    for (const char* p = message.c_str(); *p; p = CharNextA(p)) last = p;
    return static_cast<unsigned char>(*last) > '.' ? message + "." : message;
}

// A write that fails after every check before the first change passed: the
// disk fills up. The program and its output root are on a small file system
// of their own (KX_SMALL_DISK, see small-disk.sh) with 16 KB left: the DLL
// and the first library fit, the public library does not.
TEST(ErrorDisplay, AWriteThatFailsShowsTheErrorBoxAndTheToolGoesOn) {
    const char* small = std::getenv("KX_SMALL_DISK");
    if (small == nullptr || *small == '\0') GTEST_SKIP() << "no small disk to fill (mounting one needs root)";
    Text disk = Text("Z:") + small;
    for (char& c : disk) c = c == '/' ? '\\' : c;
    GuiSession gui("KXProjectMaker.exe", nullptr, disk);
    ASSERT_TRUE(FileExists(gui.ExePath())) << "the program does not fit the small disk";
    const Text filler = disk + "\\filler";
    ASSERT_TRUE(FillLeaving(filler, disk, 16 * 1024));

    ASSERT_TRUE(gui.Start());
    const Text root = gui.OutputRoot();
    const Text library = root + "\\demo\\demo\\\xB9\xAB\xB9\xB2\xBF\xE2.kx";  // 公共库.kx
    // The message ends in a quotation mark, so no full stop follows it.
    const Text expected = WithFullStopRule("Stream write error: \"" + library + "\"");
    ASSERT_EQ(expected.back(), '"');

    auto generate = [&](const Text& typed) {
        gui.Press(VK_RETURN);
        const HWND prompt = gui.WaitForWindow("TPromptForm");
        ASSERT_NE(prompt, nullptr);
        const HWND edit = FindWindowExA(prompt, nullptr, "Edit", nullptr);
        ASSERT_TRUE(gui.WaitForFocus(edit));
        // The keyboard types ASCII only: the name goes into the field as a paste would.
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        gui.Press(VK_RETURN);
        ASSERT_TRUE(gui.WaitUntilGone(prompt));
    };
    generate("demo");
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

    // The loop went on: the main window has its focus back, and with room on
    // the disk again Generate works.
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(gui.MainWindow()) != FALSE; }, 5000));
    const HWND btn1 = gui.Child(gui.MainWindow(), "Button", "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF");
    EXPECT_TRUE(gui.WaitForFocus(btn1));
    ASSERT_TRUE(DeleteFileA(filler.c_str()));
    generate("again");
    const Text demoFile = root + "\\again\\again.kxproj";
    EXPECT_TRUE(WaitFor([&] {
        const HANDLE f = CreateFileA(demoFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
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
