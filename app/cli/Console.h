// What kxgen needs of the terminal and the file system, on each platform.
// Program texts are ANSI (GBK); kxgen's own texts and what it reads are UTF-8.
// Each Print writes its whole text at once.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CliTexts.h"
#include "UnitFunction.h"

namespace kx::cli {

void PrintUtf8(std::FILE* stream, const std::string& text);

// When kxgen.exe's console window is its own (see KeyBeforeExit.h), shows
// texts.pressAnyKey and waits for a key; otherwise, and on Linux, nothing.
void HoldOwnWindowOpen(const CliTexts& texts);

// The user's language: the locale on Linux, the user's UI language on Windows.
Language UserLanguage();

bool InputIsTerminal();
struct InputLine {
    std::optional<std::string> text;  // UTF-8, without its line end; nullopt at end of input
    bool lineEnded = true;            // the echo went on to a new line
};
// One line of standard input. Ctrl+D on Linux ends the input where the
// cursor stands; Ctrl+Z and Enter on Windows end it after a line end.
InputLine ReadInputLine();

// The command line's arguments in UTF-8.
std::vector<std::string> RawArguments(int argc, char** argv);
// A UTF-8 text in ANSI; nullopt when code page 936 cannot spell it.
std::optional<AnsiString> ArgumentToAnsi(const std::string& argument);

// A path as the platform writes it (on Linux with "/" for "\\").
AnsiString DisplayPath(const AnsiString& path);

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

}  // namespace kx::cli
