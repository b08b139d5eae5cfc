// Linux terminals and file names speak UTF-8.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "CodePage.h"
#include "Console.h"
#include "Gbk.h"
#include "NativePath.h"

namespace kx::cli {

namespace {

// "/a//b/./c/../d/" becomes "/a/b/d", as GetFullPathNameA tidies a path on
// the Windows side: by its text, without asking the file system about links.
// A backslash separates too, as it does for every path of the program here.
std::string NormalisedAbsolute(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= path.size(); ++pos) {
        if (pos < path.size() && path[pos] != '/' && path[pos] != '\\') continue;
        std::string part = path.substr(start, pos - start);
        start = pos + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    if (parts.empty()) return "/";
    std::string result;
    for (const std::string& part : parts) result += "/" + part;
    return result;
}

}  // namespace

AnsiString DisplayPath(const AnsiString& path) {
    AnsiString slashed = path;
    for (std::size_t pos = 0; pos < slashed.size(); pos += GbkCharLength(slashed, pos)) {
        if (slashed[pos] == '\\') slashed[pos] = '/';
    }
    return slashed;
}

void PrintUtf8(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

// A terminal window outlives the programs it runs.
void HoldOwnWindowOpen(const CliTexts&) {}

Language UserLanguage() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

bool InputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

InputLine ReadInputLine() {
    std::string line;
    int c = std::getc(stdin);
    for (; c != EOF && c != '\n'; c = std::getc(stdin)) line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    InputLine input;
    input.lineEnded = c == '\n';
    if (c == '\n' || !line.empty()) input.text = line;
    return input;
}

std::vector<std::string> RawArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

std::optional<AnsiString> ArgumentToAnsi(const std::string& argument) {
    AnsiString ansi = AnsiFromUtf8(argument);
    if (Utf8FromAnsi(ansi) != argument) return std::nullopt;
    return ansi;
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return NormalisedAbsolute(path);
    std::string cwd(4096, '\0');
    if (getcwd(cwd.data(), cwd.size()) == nullptr) return path;  // no folder to be relative to
    cwd.resize(cwd.find('\0'));
    return NormalisedAbsolute(cwd + "/" + path);
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
