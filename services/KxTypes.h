// The words every part of the program shares: its kinds of text and the
// errors that reach the error display.
//
// Program strings are byte strings in the ANSI code page (GBK, code page 936):
// AnsiString, a type of its own (its own character traits), so that the
// compiler tells GBK text apart from UTF-8 text (std::string) and from plain
// bytes (std::string as well: file contents). One becomes the other only
// through the named conversions of CodePage.h, or, for bytes known to be GBK
// (a resource, a file the program wrote), AsGbk and BytesOf below. GBK text
// is walked by character (Gbk.h), never byte by byte. UTF-16 text is 16-bit on
// every platform.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace kx {

struct GbkTraits : std::char_traits<char> {};
using AnsiString = std::basic_string<char, GbkTraits>;
using AnsiView = std::basic_string_view<char, GbkTraits>;
using WideString = std::u16string;

// Bytes that hold GBK text, taken as such, and the bytes of GBK text.
inline AnsiString AsGbk(std::string_view bytes) { return AnsiString(bytes.data(), bytes.size()); }
inline std::string_view BytesOf(AnsiView text) { return std::string_view(text.data(), text.size()); }

// Base of the errors that reach the error display. The message is GBK, as
// the Windows program shows it; what() gives it in UTF-8 for anything that
// only knows std::exception (non-ASCII bytes as \xNN where no converter
// can be had).
class KxError : public std::exception {
public:
    explicit KxError(AnsiString message);
    const AnsiString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    AnsiString message_;
    std::string utf8_;
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
