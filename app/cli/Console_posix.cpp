// Linux terminals and file names speak UTF-8.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "CodePage.h"
#include "Console.h"
#include "Gbk.h"
#include "posix/PosixFiles.h"

namespace kx::cli {

AnsiString DisplayPath(const AnsiString& path) {
    AnsiString slashed = path;
    for (std::size_t pos = 0; pos < slashed.size(); pos += GbkCharLength(slashed, pos)) {
        if (slashed[pos] == '\\') slashed[pos] = '/';
    }
    return slashed;
}

void PrintAnsi(std::FILE* stream, const AnsiString& text) { PrintUtf8(stream, Utf8FromAnsi(text)); }

void PrintUtf8(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

bool InputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::optional<AnsiString> ReadInputLine() {
    std::string line;
    if (!std::getline(std::cin, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return AnsiFromUtf8(line);
}

std::vector<std::string> RawArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

std::optional<AnsiString> ArgumentToAnsi(const std::string& argument) {
    AnsiString ansi = AnsiFromUtf8(argument);
    if (Utf8FromAnsi(ansi) != argument) return std::nullopt;
    return ansi;
}

AnsiString AbsoluteFolder(const AnsiString& folder) {
    if (!folder.empty() && (folder[0] == '/' || folder[0] == '\\')) return folder;
    std::string cwd(4096, '\0');
    if (getcwd(cwd.data(), cwd.size()) == nullptr) return folder;
    cwd.resize(cwd.find('\0'));
    return AnsiFromUtf8(cwd + "/") + folder;
}

std::vector<FolderEntry> ListFolder(const AnsiString& folder) {
    std::vector<FolderEntry> entries;
    const std::string path = NativePath(folder);
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return entries;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat info {};
        const bool isFolder = lstat((path + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        entries.push_back({AnsiFromUtf8(name), isFolder});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace kx::cli
