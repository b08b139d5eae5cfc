// Test helpers on ANSI (GBK) paths, the program's kind of path, for both
// platforms: a unique temporary folder removed with everything in it, small
// file operations that do not go through the code under test, and the two
// text writers as a list with their errors as text.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "KxTypes.h"
#include "support/AnsiPrinting.h"

namespace kx::test {

using kx::AnsiString;

// The separator of the platform's own paths: '\\' on Windows, '/' elsewhere.
char PathSeparator();

// A new, empty folder in the system's temporary folder with a unique name;
// on destruction it is removed with everything inside (read-only entries
// included, symbolic links removed, never followed).
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Absolute ANSI path without a trailing separator.
    const AnsiString& Path() const { return path_; }
    // Path() + separator + relative (relative may hold more separators).
    AnsiString Child(const AnsiString& relative) const;

private:
    AnsiString path_;
};

// Joins with the platform separator.
AnsiString JoinPath(const AnsiString& folder, const AnsiString& name);

bool FileExists(const AnsiString& path);    // exists and is not a folder
bool FolderExists(const AnsiString& path);  // exists and is a folder
bool PathExists(const AnsiString& path);    // anything, links not followed

// All bytes of a file; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const AnsiString& path);
// Creates or replaces a file with exactly these bytes.
bool WriteFileBytes(const AnsiString& path, const std::string& bytes);
bool MakeFolder(const AnsiString& path);
// Makes folder and, inside it, the file name holding bytes.
bool MakeFolderWithFile(const AnsiString& folder, const AnsiString& name, const std::string& bytes);
// Read-only attribute on Windows; all write permission bits off on POSIX.
bool SetReadOnly(const AnsiString& path, bool readOnly);
// True where the platform lets a file marked read-only be opened for
// writing all the same: Wine run by root. Real Windows refuses, and the POSIX
// services refuse for everyone, root included.
bool PlatformIgnoresReadOnly(const AnsiString& readOnlyFile);
// Last modification time in seconds since 1970, and setting it.
std::optional<std::int64_t> ModifiedTime(const AnsiString& path);
bool SetModifiedTime(const AnsiString& path, std::int64_t secondsSince1970);
// Names inside a folder, sorted, without "." and "..".
std::vector<AnsiString> ListFolder(const AnsiString& path);
// Removes a file, link or folder tree; true when nothing is left.
bool RemoveTree(const AnsiString& path);
#ifndef _WIN32
// Names inside a folder given by its native (UTF-8) path, exactly as the file
// system holds them, sorted, without "." and "..".
std::vector<std::string> ListNativeFolder(const std::string& nativePath);
#endif

// "61 62 63": bytes as spaced upper-case hex, for readable failure messages.
std::string Hex(std::string_view bytes);
inline std::string Hex(AnsiView text) { return Hex(BytesOf(text)); }

// SaveUtf8File and SaveUtf16File, for cases that hold for both.
using TextWriter = void (*)(const AnsiString& path, const AnsiString& text, bool withBom);
struct NamedWriter {
    const char* name;
    TextWriter write;
};
extern const NamedWriter kTextWriters[2];

// What writing "abc" with a BOM to path raises, as text: "EFCreateError: "
// or "EWriteError: " and the message, "other error: " and what(), or "none".
AnsiString WriterErrorOf(TextWriter writer, const AnsiString& path);

// How that text starts when path cannot be created:
// "EFCreateError: Cannot create file \"<path>\". ".
AnsiString CreateErrorStart(const AnsiString& path);

}  // namespace kx::test
