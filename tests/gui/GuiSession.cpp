#include "GuiSession.h"

#include <cstdio>

#include "FontChoice.h"

namespace kxgui {
namespace {

// CTest hands over the build tree's path; under Wine the Unix root is drive Z:.
Text WindowsPath(Text path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    if (!path.empty() && path[0] == '\\') path = "Z:" + path;
    return path;
}

void RemoveTree(const Text& folder) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const Text name = found.cFileName;
            if (name == "." || name == "..") continue;
            const Text path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

Text ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct Search {
    DWORD process;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) return TRUE;
    if (lstrcmpiA(ClassOf(window).c_str(), search->className) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD process, const char* className, bool visibleOnly) {
    Search search{process, className, nullptr};
    if (visibleOnly) {
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // The application window has no size and may count as not visible.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process) return window;
    }
    return nullptr;
}

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    SendInput(1, &input, sizeof input);
}

// Which standard icon shows in the box: the icon control's pixels on screen
// against each candidate, counted over the candidate's opaque pixels.
BoxIcon IdentifyIcon(HWND iconControl) {
    RECT r{};
    GetWindowRect(iconControl, &r);
    const int w = GetSystemMetrics(SM_CXICON);
    const int h = GetSystemMetrics(SM_CYICON);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    auto render = [&](auto&& paint) {
        void* bits = nullptr;
        HBITMAP bmp = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(mem, bmp);
        paint();
        GdiFlush();
        std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + w * h);
        SelectObject(mem, old);
        DeleteObject(bmp);
        for (DWORD& p : pixels) p &= 0xFFFFFF;
        return pixels;
    };
    const std::vector<DWORD> shown =
        render([&] { BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY); });

    struct Candidate {
        BoxIcon icon;
        LPCSTR id;
    };
    const Candidate candidates[] = {{BoxIcon::Stop, IDI_HAND},
                                    {BoxIcon::Information, IDI_ASTERISK},
                                    {BoxIcon::Question, IDI_QUESTION},
                                    {BoxIcon::Warning, IDI_EXCLAMATION}};
    BoxIcon best = BoxIcon::None;
    double bestScore = 0.0;
    for (const Candidate& c : candidates) {
        const HICON icon = LoadIconA(nullptr, c.id);
        auto onColour = [&](COLORREF colour) {
            return render([&] {
                HBRUSH brush = CreateSolidBrush(colour);
                RECT all{0, 0, w, h};
                FillRect(mem, &all, brush);
                DeleteObject(brush);
                DrawIconEx(mem, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
            });
        };
        const std::vector<DWORD> onBlack = onColour(RGB(0, 0, 0));
        const std::vector<DWORD> onWhite = onColour(RGB(255, 255, 255));
        int opaque = 0;
        int same = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (onBlack[i] != onWhite[i]) continue;
            ++opaque;
            if (onBlack[i] == shown[i]) ++same;
        }
        const double score = opaque ? static_cast<double>(same) / opaque : 0.0;
        if (score > bestScore) {
            bestScore = score;
            best = c.icon;
        }
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return bestScore >= 0.9 ? best : BoxIcon::None;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

GuiSession::GuiSession(const Text& exeName, const std::function<void(const Text&)>& prepare, const Text& parent) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = (parent.empty() ? Text(temp) : parent + "\\") + "kxgui_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter);
    RemoveTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
    exePath_ = folder_ + "\\" + exeName;
    CopyFileA(WindowsPath(KX_GUI_EXE).c_str(), exePath_.c_str(), FALSE);
    if (prepare) prepare(folder_);
}

GuiSession::~GuiSession() {
    if (process_.hProcess) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    RemoveTree(folder_);
}

bool GuiSession::Start() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    Text command = "\"" + exePath_ + "\"";
    if (!CreateProcessA(exePath_.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &process_)) {
        return false;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    main_ = WaitForWindow("TfrmMain", 20000);
    if (!main_) return false;
    thread_ = GetWindowThreadProcessId(main_, nullptr);
    SetForegroundWindow(main_);
    return WaitFor([&] { return GetForegroundWindow() == main_; }, 5000);
}

HWND GuiSession::AppWindow() const {
    return FindProcessWindow(process_.dwProcessId, "TApplication", false);
}

HWND GuiSession::WaitForWindow(const char* className, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] {
        found = FindProcessWindow(process_.dwProcessId, className, true);
        return found != nullptr;
    }, timeoutMs);
    return found;
}

bool GuiSession::WaitUntilGone(HWND window, DWORD timeoutMs) const {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

bool GuiSession::NoDialogOpen() const {
    return !FindProcessWindow(process_.dwProcessId, "#32770", true) &&
           !FindProcessWindow(process_.dwProcessId, "TPromptForm", true);
}

HWND GuiSession::Child(HWND parent, const char* className, const Text& text) const {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(ClassOf(child).c_str(), className) == 0 && WindowText(child) == text) {
            return child;
        }
    }
    return nullptr;
}

HWND GuiSession::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread_, &info)) return nullptr;
    return info.hwndFocus;
}

bool GuiSession::WaitForFocus(HWND window, DWORD timeoutMs) const {
    return WaitFor([&] { return FocusedWindow() == window; }, timeoutMs);
}

void GuiSession::Press(WORD key, bool shift, bool ctrl, bool alt) const {
    if (shift) SendKey(VK_SHIFT, false);
    if (ctrl) SendKey(VK_CONTROL, false);
    if (alt) SendKey(VK_MENU, false);
    SendKey(key, false);
    SendKey(key, true);
    if (alt) SendKey(VK_MENU, true);
    if (ctrl) SendKey(VK_CONTROL, true);
    if (shift) SendKey(VK_SHIFT, true);
    Sleep(150);
}

void GuiSession::Type(const Text& asciiText) const {
    for (char c : asciiText) {
        const SHORT scan = VkKeyScanA(c);
        Press(static_cast<WORD>(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0);
    }
}

MessageBoxView GuiSession::ReadMessageBox(HWND box) const {
    MessageBoxView view;
    view.window = box;
    view.caption = WindowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const Text cls = ClassOf(child);
        if (lstrcmpiA(cls.c_str(), "Button") == 0) {
            if (IsWindowVisible(child)) view.buttons.push_back(WindowText(child));
        } else if (lstrcmpiA(cls.c_str(), "Static") == 0) {
            const LONG style = GetWindowLongA(child, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON) {
                WaitFor([&] { return (view.icon = IdentifyIcon(child)) != BoxIcon::None; }, 3000);
            } else if (GetDlgCtrlID(child) == 0xFFFF) {
                view.text = WindowText(child);
            }
        }
    }
    return view;
}

bool GuiSession::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_.hProcess, exitCode) != FALSE;
}

bool GuiSession::Running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

Text WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: across processes only the message
    // reaches an edit field's text.
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

RECT ClientRectOnParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool FileExists(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const Text& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Text DefaultProjectName() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char name[32] = {};
    std::snprintf(name, sizeof name, "wpx%04u_%02u_%02u", now.wYear, now.wMonth, now.wDay);
    return name;
}

int TextHeightOfWindowFont() {
    HDC screen = GetDC(nullptr);
    const int height = MulDiv(-11, GetDeviceCaps(screen, LOGPIXELSY), 96);
    // As the program chooses it for its two buttons: 生成KX项目, 退出.
    const kx::win::Font font = kx::win::CreateFontShowing(
        {height, DEFAULT_CHARSET, "MS Sans Serif"},
        {"\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF", "\xCD\xCB\xB3\xF6"});
    HGDIOBJ old = SelectObject(screen, font.Get());
    SIZE size{};
    GetTextExtentPoint32A(screen, "0", 1, &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size.cy;
}

SIZE LabelTextSize(const Text& text, int fontHeight) {
    HDC screen = GetDC(nullptr);
    // 宋体, ANSI character set, in the character set the program falls back to
    // where that cannot show the text.
    const kx::win::Font font = kx::win::CreateFontShowing(
        {fontHeight, ANSI_CHARSET, "\xCB\xCE\xCC\xE5"}, {text.c_str()});
    HGDIOBJ old = SelectObject(screen, font.Get());
    wchar_t wide[256] = {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 256);
    SIZE size{};
    GetTextExtentPoint32W(screen, wide, length - 1, &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size;
}

}  // namespace kxgui
