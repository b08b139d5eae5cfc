// Drives one run of the GUI program from outside, through the Win32 API only:
// a private copy of the executable in a fresh temporary folder, its windows
// found by class and owner, real keyboard input, and what the windows show.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kxgui {

using Text = std::string;  // ANSI (code page 936) bytes, like the program's own

// The texts the user sees, as GBK bytes.
namespace texts {
// KX按键项目模板
inline constexpr char kMainCaption[] = "KX\xB0\xB4\xBC\xFC\xCF\xEE\xC4\xBF\xC4\xA3\xB0\xE5";
// 请输入生成的KX项目名称：
inline constexpr char kPromptTitle[] =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xC9\xFA\xB3\xC9\xB5\xC4KX\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6\xA3\xBA";
inline constexpr char kPromptLabel[] = "\xCC\xE1\xCA\xBE\xA3\xBA   ";  // 提示：and three blanks
inline constexpr char kError[] = "\xB4\xED\xCE\xF3";   // 错误
inline constexpr char kNotice[] = "\xCC\xE1\xCA\xBE";  // 提示
inline constexpr char kOutputRoot[] = "KX\xCF\xEE\xC4\xBF";  // KX项目
inline constexpr char kBuildFolder[] = "\xC9\xFA\xB3\xC9";   // 生成
}  // namespace texts

enum class BoxIcon { None, Stop, Information, Question, Warning };

struct MessageBoxView {
    HWND window = nullptr;
    Text caption;
    Text text;
    BoxIcon icon = BoxIcon::None;
    std::vector<Text> buttons;
};

class GuiSession {
public:
    // Copies the program as exeName into a new folder in parent (by default
    // the temporary folder); prepare runs before the start, with that folder,
    // to set up the disk.
    explicit GuiSession(const Text& exeName = "KXProjectMaker.exe",
                        const std::function<void(const Text&)>& prepare = nullptr, const Text& parent = "");
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    bool Start();
    const Text& Folder() const { return folder_; }
    const Text& ExePath() const { return exePath_; }
    Text OutputRoot() const { return folder_ + "\\" + texts::kOutputRoot; }

    HWND MainWindow() const { return main_; }
    HWND AppWindow() const;
    // Visible top-level windows of the process with this class ("#32770" for
    // message boxes), waiting up to timeoutMs for one to appear.
    HWND WaitForWindow(const char* className, DWORD timeoutMs = 10000) const;
    bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000) const;
    bool NoDialogOpen() const;
    HWND Child(HWND parent, const char* className, const Text& text) const;
    HWND FocusedWindow() const;
    bool WaitForFocus(HWND window, DWORD timeoutMs = 5000) const;

    // Real keyboard input to the foreground window.
    void Press(WORD key, bool shift = false, bool ctrl = false, bool alt = false) const;
    void Type(const Text& asciiText) const;
    MessageBoxView ReadMessageBox(HWND box) const;

    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const;
    bool Running() const;
    DWORD ThreadId() const { return thread_; }

private:
    Text folder_;
    Text exePath_;
    PROCESS_INFORMATION process_{};
    DWORD thread_ = 0;
    HWND main_ = nullptr;
};

// Helpers shared by the test files.
Text WindowText(HWND window);
RECT ClientRectOnParent(HWND child);
bool FileExists(const Text& path);
bool DirectoryExists(const Text& path);
Text DefaultProjectName();  // "wpx" + today as yyyy_mm_dd
int TextHeightOfWindowFont();  // height of "0" in the main window's font
SIZE LabelTextSize(const Text& text, int fontHeight);
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace kxgui
