// The Windows console speaks UTF-16; redirected output gets ANSI bytes.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <iostream>
#include <io.h>

#include "Console.h"
#include "Gbk.h"

namespace kx::cli {

namespace {

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

HANDLE ConsoleOf(std::FILE* stream) {
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

void Print(std::FILE* stream, const std::wstring& wide) {
    if (const HANDLE console = ConsoleOf(stream)) {
        std::fflush(stream);
        DWORD written = 0;
        WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Narrow(wide, CP_ACP, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

}  // namespace

void PrintAnsi(std::FILE* stream, const AnsiString& text) { Print(stream, Widen(text, CP_ACP)); }

void PrintUtf8(std::FILE* stream, const std::string& text) { Print(stream, Widen(text, CP_UTF8)); }

bool InputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

std::optional<AnsiString> ReadInputLine() {
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;  // the console hands ANSI programs their input in the ANSI code page
}

std::vector<std::string> RawArguments(int, char**) {
    // The wide command line, so that a name code page 936 cannot spell is
    // noticed instead of arriving with question marks.
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(Narrow(wide[i], CP_UTF8, nullptr));
    LocalFree(wide);
    return args;
}

std::optional<AnsiString> ArgumentToAnsi(const std::string& argument) {
    BOOL lossy = FALSE;
    AnsiString ansi = Narrow(Widen(argument, CP_UTF8), CP_ACP, &lossy);
    if (lossy) return std::nullopt;
    return ansi;
}

AnsiString DisplayPath(const AnsiString& path) { return path; }

AnsiString AbsoluteFolder(const AnsiString& folder) {
    char buffer[MAX_PATH] = {};
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, buffer, &filePart);
    if (length == 0 || length >= MAX_PATH) return folder;
    AnsiString full(buffer, length);
    // A trailing separator would double up when a name is joined on.
    while (full.size() > 3 && full[GbkLastCharStart(full)] == '\\') full.pop_back();
    return full;
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

}  // namespace kx::cli
