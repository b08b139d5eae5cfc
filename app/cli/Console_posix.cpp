// Linux terminals speak the locale's character set; file names are UTF-8.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <malloc.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "AsciiText.h"
#include "CodePage.h"
#include "Console.h"
#include "NativePath.h"
#include "ShownText.h"
#include "TextContent.h"
#include "XdgOpen.h"
#include "posix/PosixFiles.h"

namespace kx::cli {

namespace {

bool outputFailed = false;
volatile sig_atomic_t caughtSignal = 0;

// The terminal's character set; none of the converters when it is UTF-8.
struct Charset {
    std::string name = "UTF-8";
    iconv_t toTerminal = reinterpret_cast<iconv_t>(-1);
    iconv_t fromTerminal = reinterpret_cast<iconv_t>(-1);
    bool IsUtf8() const { return toTerminal == reinterpret_cast<iconv_t>(-1); }
} charset;

// "utf8", "UTF-8" and "utf_8" name one set.
bool SameCharsetName(const std::string& a, const std::string& b) {
    const auto bare = [](const std::string& name) {
        std::string out;
        for (const char c : name) {
            if (c != '-' && c != '_') out += UpperAscii(c);
        }
        return out;
    };
    return bare(a) == bare(b);
}

// The character set a locale's name asks for ("zh_CN.GBK" -> "GBK"), for a
// locale this system has not generated: the terminal speaks it all the same.
std::string CodesetOfLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') continue;
        const char* dot = std::strchr(value, '.');
        if (dot == nullptr) return {};
        return std::string(dot + 1, std::strcspn(dot + 1, "@"));
    }
    return {};
}

// Converts all of text with cd; a sequence cd cannot convert is handed to
// stuck, which appends what stands for it and says how many bytes it covers.
template <typename Stuck>
std::string Convert(iconv_t cd, const std::string& text, Stuck stuck) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char buffer[512];
    std::size_t pos = 0;
    while (pos < text.size()) {
        char* in = const_cast<char*>(text.data() + pos);
        std::size_t left = text.size() - pos;
        char* put = buffer;
        std::size_t room = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &left, &put, &room);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(put - buffer));
        pos = static_cast<std::size_t>(in - text.data());
        if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
        pos += stuck(out, pos);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* put = buffer;
    std::size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &put, &room);  // a stateful set's return to its initial state
    out.append(buffer, static_cast<std::size_t>(put - buffer));
    return out;
}

std::string ToTerminal(const std::string& utf8) {
    if (charset.IsUtf8()) return utf8;
    return Convert(charset.toTerminal, utf8, [&](std::string& out, std::size_t pos) -> std::size_t {
        char32_t cp = 0;
        const std::size_t length = Utf8SequenceAt(utf8, pos, &cp);
        out += length == 0 ? ByteEscape(static_cast<unsigned char>(utf8[pos])) : CharacterEscape(cp);
        return length == 0 ? 1 : length;
    });
}

struct Decoded {
    std::string utf8;
    std::optional<BadText> bad;
};

// Text from the terminal in UTF-8; bytes the set does not hold make it bad.
Decoded FromTerminal(const std::string& bytes) {
    Decoded decoded;
    std::string firstBad;
    const auto escape = [&](std::string& out, std::size_t pos) -> std::size_t {
        const std::string escaped = ByteEscape(static_cast<unsigned char>(bytes[pos]));
        if (firstBad.empty()) firstBad = escaped;
        out += escaped;
        return 1;
    };
    if (charset.IsUtf8()) {
        char32_t cp = 0;
        for (std::size_t pos = 0; pos < bytes.size();) {
            const std::size_t length = Utf8SequenceAt(bytes, pos, &cp);
            if (length == 0) {
                pos += escape(decoded.utf8, pos);
            } else {
                decoded.utf8.append(bytes, pos, length);
                pos += length;
            }
        }
    } else {
        decoded.utf8 = Convert(charset.fromTerminal, bytes, escape);
    }
    if (!firstBad.empty()) decoded.bad = BadText{decoded.utf8, firstBad, charset.name};
    return decoded;
}

// "/a//b/./c/../d/" becomes "/a/b/d", as GetFullPathNameA tidies a path on
// the Windows side: by its text, without asking the file system about links.
// A backslash is a character of a name here, as for every path on Linux.
std::string NormalisedAbsolute(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= path.size(); ++pos) {
        if (pos < path.size() && path[pos] != '/') continue;
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

void NoteSignal(int signal) { caughtSignal = signal; }

}  // namespace

void StartConsole() {
    // A large template of the user's passes through a few buffers its size,
    // one after the other. Each is handed back to the system when it goes,
    // rather than kept by the allocator, which would raise its threshold for
    // that after the first and hold on to the rest.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    std::string codeset = std::setlocale(LC_CTYPE, "") != nullptr ? nl_langinfo(CODESET) : CodesetOfLocaleName();
    // The C locale's ASCII is taken as UTF-8: names on disk are UTF-8, and
    // such a terminal passes their bytes on as every other program does.
    if (!codeset.empty() && !SameCharsetName(codeset, "UTF-8") && !SameCharsetName(codeset, "ANSI_X3.4-1968") &&
        !SameCharsetName(codeset, "ASCII")) {
        const iconv_t to = iconv_open(codeset.c_str(), "UTF-8");
        const iconv_t from = iconv_open("UTF-8", codeset.c_str());
        if (to != reinterpret_cast<iconv_t>(-1) && from != reinterpret_cast<iconv_t>(-1)) {
            charset.name = codeset;
            charset.toTerminal = to;
            charset.fromTerminal = from;
        }
    }
    // The system's texts (strerror) in the user's language, and in UTF-8
    // like every text inside kxgen, whatever the terminal's set: this thread
    // takes LC_MESSAGES from the environment and LC_CTYPE from C.UTF-8.
    locale_t messages = newlocale(LC_MESSAGES_MASK, "", nullptr);
    if (messages == nullptr) return;
    if (const locale_t both = newlocale(LC_CTYPE_MASK, "C.UTF-8", messages)) {
        uselocale(both);
    } else {
        freelocale(messages);  // without UTF-8 the texts would lose their characters: English then
    }
}

void PrintUtf8(std::FILE* stream, const std::string& text) {
    const std::string bytes = ToTerminal(text);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    if (std::fflush(stream) != 0 || !written) outputFailed = true;
}

bool OutputFailed() { return outputFailed; }

// A terminal window outlives the programs it runs.
void HoldOwnWindowOpen(Language) {}

Language UserLanguage() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

Arguments ReadArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        Decoded decoded = FromTerminal(argv[i]);
        if (decoded.bad) {
            arguments.bad = std::move(decoded.bad);
            return arguments;
        }
        arguments.utf8.push_back(std::move(decoded.utf8));
    }
    return arguments;
}

bool InputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

InputLine ReadInputLine() {
    InputLine input;
    std::string line;
    int c = std::getc(stdin);
    for (; c != EOF && c != '\n'; c = std::getc(stdin)) line += static_cast<char>(c);
    if (Interrupted()) {
        input.interrupted = true;
        return input;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    input.lineEnded = c == '\n';
    if (c != '\n' && line.empty()) return input;
    Decoded decoded = FromTerminal(line);
    input.text = std::move(decoded.utf8);
    input.bad = std::move(decoded.bad);
    return input;
}

std::optional<AnsiString> ArgumentToAnsi(const std::string& argument) {
    AnsiString ansi = AnsiFromUtf8(argument);
    if (Utf8FromAnsi(ansi) != argument) return std::nullopt;
    return ansi;
}

std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/') return NormalisedAbsolute(path);
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

std::string SystemReason(int error) { return SystemErrorUtf8(error); }

bool PathLengthsInBytes() { return true; }

OpenAttempt OpenWithDesktop(const AnsiString& file) {
    OpenAttempt attempt;
    attempt.program = "xdg-open";
    attempt.systemError = StartXdgOpen(file);
    attempt.started = attempt.systemError == 0;
    return attempt;
}

void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    // Without SA_RESTART a read at the terminal returns at once; after the
    // first signal its default action is back, so a second one ends kxgen.
    action.sa_flags = SA_RESETHAND;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction before {};
        // A signal the caller has kxgen ignore (a background job's Ctrl-C) stays ignored.
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

bool Interrupted() { return caughtSignal != 0; }

void EndByInterrupt() {
    const int signal = caughtSignal;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    std::_Exit(128 + signal);
}

}  // namespace kx::cli
