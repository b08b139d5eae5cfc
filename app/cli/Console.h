// What kxgen needs of the terminal, the system and the file system, on each
// platform. Inside kxgen text is UTF-8 (its own texts, what it reads) or
// ANSI (GBK, the workflow's names and paths); at the terminal it is the
// terminal's: on Linux the locale's character set (UTF-8, GBK, GB18030 or
// any other iconv knows), on Windows the console's Unicode, or ANSI bytes
// when a stream is redirected. Each Print writes its whole text at once.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Language.h"
#include "UnitFunction.h"

namespace kx::cli {

// Reads the locale once, before anything is read or printed: the terminal's
// character set, and the user's language for the system's own texts.
void StartConsole();

// Writes UTF-8 text in the terminal's character set; a character the set
// cannot hold is written as \uXXXX.
void PrintUtf8(std::FILE* stream, const std::string& text);
// True once any Print could not write its whole text (a closed pipe, a full
// disk behind a redirection, /dev/full).
bool OutputFailed();

// When kxgen.exe's console window is its own (see KeyBeforeExit.h), says
// so in the language and waits for a key; otherwise, and on Linux, nothing.
void HoldOwnWindowOpen(Language language);

// The user's language: the locale on Linux, the user's UI language on Windows.
Language UserLanguage();

// Text that is not in the terminal's character set.
struct BadText {
    std::string shown;    // the text in UTF-8, the bytes the set does not hold as \xNN
    std::string bytes;    // the first such bytes, as \xNN
    std::string charset;  // the set's name ("UTF-8", "GBK")
};

// The command line's arguments in UTF-8, or the first that the terminal's
// character set does not hold.
struct Arguments {
    std::vector<std::string> utf8;
    std::optional<BadText> bad;
};
Arguments ReadArguments(int argc, char** argv);

bool InputIsTerminal();
struct InputLine {
    std::optional<std::string> text;  // UTF-8, without its line end; nullopt at end of input
    bool lineEnded = true;            // the echo went on to a new line
    std::optional<BadText> bad;       // the line was not in the terminal's character set
    bool interrupted = false;         // Ctrl-C or a termination signal came while reading
};
// One line of standard input. Ctrl+D on Linux ends the input where the
// cursor stands; Ctrl+Z and Enter on Windows end it after a line end.
InputLine ReadInputLine();

// A UTF-8 text in ANSI; nullopt when code page 936 cannot spell it.
std::optional<AnsiString> ArgumentToAnsi(const std::string& argument);

// The path made absolute against the current folder and normalised in the
// platform's form: no empty, "." or ".." components, no trailing separator.
// UTF-8 in and out, so that the caller can tell whether code page 936 holds
// the whole path, the current folder included.
std::string AbsolutePath(const std::string& path);

struct FolderEntry {
    AnsiString name;
    bool isFolder;
};
// The entries of a folder, sorted by name; empty when it cannot be read.
std::vector<FolderEntry> ListFolder(const AnsiString& folder);

// The system's text for an error number (errno, GetLastError), UTF-8, in the
// user's language where the system has one; empty when it has none.
std::string SystemReason(int error);

// True where the limits of PathLimits.h count bytes (POSIX), false where
// they count UTF-16 units (Windows).
bool PathLengthsInBytes();

// Asks the desktop to open a file, as the Windows program asks the shell,
// without waiting for it.
struct OpenAttempt {
    bool started = true;
    std::string program;  // who was asked: "xdg-open", "Windows"
    int systemError = 0;  // why it did not start
};
OpenAttempt OpenWithDesktop(const AnsiString& file);

// Ctrl-C and termination signals: the first one is noted and ends a read at
// the terminal (the caller then stops, nothing changed, its lock let go);
// a second one ends kxgen at once. Nothing is caught on Windows, where the
// system deletes the lock file with its last handle.
void CatchInterrupts();
bool Interrupted();
// Ends kxgen as the noted signal would have.
[[noreturn]] void EndByInterrupt();

}  // namespace kx::cli
