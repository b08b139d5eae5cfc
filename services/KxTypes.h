// The words every part of the program shares: ANSI and UTF-16 strings and the
// errors that reach the error display. No routines: any file may include it.
//
// Program strings are byte strings in the ANSI code page (GBK, code page 936).
// UTF-16 text is 16-bit on every platform.
#pragma once

#include <exception>
#include <string>
#include <utility>

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

// "Cannot create file \"<full path>\". <system text>"; the parts stay apart
// too, for a front end that words the message itself.
class EFCreateError : public KxError {
public:
    EFCreateError(const AnsiString& fullPath, const AnsiString& systemText)
        : KxError("Cannot create file \"" + fullPath + "\". " + systemText), path_(fullPath), systemText_(systemText) {}
    const AnsiString& Path() const noexcept { return path_; }
    const AnsiString& SystemText() const noexcept { return systemText_; }

private:
    AnsiString path_;
    AnsiString systemText_;
};

// A write that stored fewer bytes than asked: "Stream write error", and with
// the file known, "Stream write error: \"<full path>\"" so that the user
// learns which file is incomplete.
class EWriteError : public KxError {
public:
    EWriteError() : KxError("Stream write error") {}
    explicit EWriteError(const AnsiString& fullPath)
        : KxError("Stream write error: \"" + fullPath + "\""), path_(fullPath) {}
    // Empty when the file is not known.
    const AnsiString& Path() const noexcept { return path_; }

private:
    AnsiString path_;
};

}  // namespace kx
