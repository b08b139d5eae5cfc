// The Windows console speaks UTF-16; redirected streams carry ANSI bytes.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "CliTexts.h"
#include "Console.h"
#include "KeyBeforeExit.h"

namespace kx::cli {

namespace {

bool outputFailed = false;

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, BOOL* lossy) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr,
                        codePage == CP_UTF8 ? nullptr : lossy);
    return text;
}

// The console behind a standard handle, or nullptr when it is redirected.
HANDLE ConsoleOf(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

// The console is Unicode and redirected streams are ANSI, whatever the locale.
void StartConsole() {}

void PrintUtf8(std::FILE* stream, const std::string& text) {
    const std::wstring wide = Widen(text, CP_UTF8);
    if (std::fflush(stream) != 0) outputFailed = true;
    if (const HANDLE console = ConsoleOf(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) ||
            written != wide.size()) {
            outputFailed = true;
        }
        return;
    }
    const std::string bytes = Narrow(wide, CP_ACP, nullptr);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    if (std::fflush(stream) != 0 || !written) outputFailed = true;
}

bool OutputFailed() { return outputFailed; }

void HoldOwnWindowOpen(Language language) {
    DWORD processes[2];
    const HWND window = GetConsoleWindow();
    const ConsoleWindowState console = {GetConsoleProcessList(processes, 2), InputIsTerminal(),
                                        window != nullptr && IsWindowVisible(window)};
    if (!WaitsForKeyBeforeExit(console)) return;
    PrintUtf8(stderr, Pattern(language, Text::PressAnyKey));
    // Keys pressed while kxgen worked do not close the window unseen.
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    FlushConsoleInputBuffer(input);
    INPUT_RECORD record{};
    DWORD read = 0;
    while (ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
        if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
        // Shift, Ctrl or Alt alone (switching to the window, say) is no answer.
        const WORD key = record.Event.KeyEvent.wVirtualKeyCode;
        if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU) break;
    }
}

Language UserLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? Language::Chinese : Language::English;
}

bool InputIsTerminal() { return ConsoleOf(STD_INPUT_HANDLE) != nullptr; }

InputLine ReadInputLine() {
    InputLine input;
    std::wstring line;
    if (const HANDLE console = ConsoleOf(STD_INPUT_HANDLE)) {
        // A cooked console hands over whole lines; Ctrl+Z at the start of one ends the input.
        wchar_t buffer[256];
        DWORD read = 0;
        while (line.find(L'\n') == std::wstring::npos &&
               ReadConsoleW(console, buffer, 256, &read, nullptr) && read > 0) {
            line.append(buffer, read);
        }
        if (line.empty() || line[0] == L'\x1A') return input;
    } else {
        std::string bytes;
        for (int c = std::getc(stdin); c != EOF; c = std::getc(stdin)) {
            bytes += static_cast<char>(c);
            if (c == '\n') break;
        }
        if (bytes.empty()) return input;
        line = Widen(bytes, CP_ACP);
    }
    input.lineEnded = !line.empty() && line.back() == L'\n';
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
    input.text = Narrow(line, CP_UTF8, nullptr);
    return input;
}

Arguments ReadArguments(int, char**) {
    // The wide command line, so that a name code page 936 cannot spell is
    // noticed instead of arriving with question marks; UTF-16 holds every
    // argument.
    Arguments args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return args;
    for (int i = 1; i < count; ++i) args.utf8.push_back(Narrow(wide[i], CP_UTF8, nullptr));
    LocalFree(wide);
    return args;
}

std::optional<AnsiString> ArgumentToAnsi(const std::string& argument) {
    BOOL lossy = FALSE;
    const AnsiString ansi = AsGbk(Narrow(Widen(argument, CP_UTF8), CP_ACP, &lossy));
    if (lossy) return std::nullopt;
    return ansi;
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring wide = Widen(path, CP_UTF8);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    // A trailing separator would double up when a name is joined on ("C:\" keeps its own).
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    // One separator between components; a UNC path keeps its leading pair.
    std::wstring tidy;
    for (const wchar_t c : full) {
        const wchar_t unit = c == L'/' ? L'\\' : c;
        if (unit == L'\\' && tidy.size() > 2 && tidy.back() == L'\\') continue;
        tidy += unit;
    }
    return Narrow(tidy, CP_UTF8, nullptr);
}

std::vector<FolderEntry> ListFolder(const AnsiString& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const AnsiString name = found.cFileName;
        if (name == "." || name == "..") continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

std::string SystemReason(int error) {
    // The user's language where Windows has the text in it.
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t message[512] = {};
    const DWORD length = FormatMessageW(kFlags, nullptr, static_cast<DWORD>(error), 0, message,
                                        sizeof message / sizeof *message, nullptr);
    std::wstring text(message, length);
    // Its full stop, Western or Chinese, and the line end after it: the text goes inside a sentence.
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.' || text.back() == L'\u3002')) text.pop_back();
    return Narrow(text, CP_UTF8, nullptr);
}

bool PathLengthsInBytes() { return false; }

OpenAttempt OpenWithDesktop(const AnsiString& file) {
    OpenAttempt attempt;
    attempt.program = "Windows";
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return attempt;
    attempt.started = false;
    // The shell's own small numbers for the common failures; else what it left.
    attempt.systemError = result == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : static_cast<int>(GetLastError());
    if (attempt.systemError == 0) attempt.systemError = static_cast<int>(result);
    return attempt;
}

// The console's Ctrl-C ends the process; the system then closes the lock
// file's handle and with it deletes the file.
void CatchInterrupts() {}
bool Interrupted() { return false; }
void EndByInterrupt() { ExitProcess(STATUS_CONTROL_C_EXIT); }

}  // namespace kx::cli
