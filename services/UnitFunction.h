// The file and resource routines every generated project goes through.
//
// Program strings are byte strings in the ANSI code page (GBK, code page 936).
// UTF-16 text is 16-bit on every platform.
#pragma once

#include <exception>
#include <string>

namespace kx {

using AnsiString = std::string;
using WideString = std::u16string;

// Base of the errors that reach the error display; the message is ANSI bytes.
class KxError : public std::exception {
public:
    explicit KxError(AnsiString message) : message_(std::move(message)) {}
    const AnsiString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    AnsiString message_;
};

// "Cannot create file \"<full path>\". <system text>"
class EFCreateError : public KxError {
public:
    EFCreateError(const AnsiString& fullPath, const AnsiString& systemText);
};

// A write that stored fewer bytes than asked: "Stream write error", and with
// the file known, "Stream write error: \"<full path>\"" so that the user
// learns which file is incomplete.
class EWriteError : public KxError {
public:
    EWriteError() : KxError("Stream write error") {}
    explicit EWriteError(const AnsiString& fullPath) : KxError("Stream write error: \"" + fullPath + "\"") {}
};

// The resource's bytes, 100-byte piece by piece, each piece cut at its first
// zero byte; empty when the resource is missing or anything fails.
AnsiString ReadTextResource(const AnsiString& name, const AnsiString& type);

// Writes the resource's bytes to path; false on any failure. Never throws.
bool ExtractResourceToFile(const AnsiString& path, const AnsiString& name, const AnsiString& type);

// System ANSI code page to UTF-16, up to the first zero unit. Never throws.
WideString AnsiToWideText(const AnsiString& text);

// Both writers do nothing for an empty text, throw EFCreateError when the file
// cannot be created and EWriteError on a short write.
void SaveUtf8File(const AnsiString& path, const AnsiString& text, bool withBom);
void SaveUtf16File(const AnsiString& path, const AnsiString& text, bool withBom);

// Empties dir (never removes dir itself); true when everything went.
bool DeleteFolderContents(const AnsiString& dir, bool includeSubfolders, bool toRecycleBin);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
AnsiString NewGuidText();

}  // namespace kx
