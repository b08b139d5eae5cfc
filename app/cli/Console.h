// What kxgen needs of the terminal and the file system, on each platform.
// Program texts are ANSI (GBK); kxgen's own texts are UTF-8.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "UnitFunction.h"

namespace kx::cli {

void PrintAnsi(std::FILE* stream, const AnsiString& text);
void PrintUtf8(std::FILE* stream, const std::string& text);

bool InputIsTerminal();
// One line of standard input without its line end, in ANSI; nullopt at end of input.
std::optional<AnsiString> ReadInputLine();

// The command line's arguments in ANSI; nullopt for one that code page 936
// cannot spell.
std::vector<std::string> RawArguments(int argc, char** argv);
std::optional<AnsiString> ArgumentToAnsi(const std::string& argument);

// A path as the platform writes it (on Linux with "/" for "\\").
AnsiString DisplayPath(const AnsiString& path);

// The folder made absolute against the current folder.
AnsiString AbsoluteFolder(const AnsiString& folder);

struct FolderEntry {
    AnsiString name;
    bool isFolder;
};
// The entries of a folder, sorted by name; empty when it cannot be read.
std::vector<FolderEntry> ListFolder(const AnsiString& folder);

}  // namespace kx::cli
