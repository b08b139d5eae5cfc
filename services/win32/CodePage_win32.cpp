// Code-page conversions through the system: the ANSI pages are whatever the
// machine and the thread's locale say (936 on the machines the tool is for).
#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

#include "CodePage.h"
#include "TextContent.h"

namespace kx {

namespace {

// A failure of the call itself (not bad input: that becomes the default
// character) is an error, never an empty text.
[[noreturn]] void ThrowConversionError(const char* call) {
    throw ConversionError(AnsiString(call) + " failed with error " + std::to_string(GetLastError()));
}

WideString Decode(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty()) return WideString();
    if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ConversionError("the text is too long");
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (units <= 0) ThrowConversionError("MultiByteToWideChar");
    WideString result(static_cast<std::size_t>(units), u'\0');
    const int written = MultiByteToWideChar(codePage, flags, text.data(), length,
                                            reinterpret_cast<wchar_t*>(&result[0]), units);
    if (written <= 0) ThrowConversionError("MultiByteToWideChar");
    result.resize(static_cast<std::size_t>(written));
    return result;
}

WideString DecodeOn(AnsiPage page, std::string_view text) {
    // The UTF-16 writer's page asks for precomposed characters; the UTF-8
    // writer's conversion passes no flags.
    if (page == AnsiPage::System) return Decode(CP_ACP, MB_PRECOMPOSED, text);
    return Decode(CP_THREAD_ACP, 0, text);
}

}  // namespace

WideString DecodeAnsi(const AnsiString& text, AnsiPage page) { return DecodeOn(page, text); }

void AppendUtf8OfUnits(std::string& out, std::string_view text, AnsiPage page) {
    AppendUtf8Units(out, DecodeOn(page, text));
}

bool AppendAnsiOfUtf8(AnsiString& out, std::string_view utf8) {
    // ASCII is the same in both, and most lines of a template are ASCII.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out += utf8;
        return true;
    }
    // The system's conversion falls back on look-alikes (best fit) that read
    // back as other characters: only the round trip tells.
    const std::string text(utf8);
    const AnsiString ansi = AnsiFromUtf8(text);
    if (Utf8FromAnsi(ansi) != text) return false;
    out += ansi;
    return true;
}

std::string Utf8FromAnsi(const AnsiString& text) { return Utf8FromUnits(DecodeAnsi(text, AnsiPage::System)); }

AnsiString AnsiFromUtf8(const std::string& text) {
    const WideString units = Decode(CP_UTF8, 0, text);
    if (units.empty()) return AnsiString();
    if (units.size() > static_cast<std::size_t>(INT_MAX)) throw ConversionError("the text is too long");
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int length = static_cast<int>(units.size());
    // No default-character arguments: characters without an ANSI form become '?'.
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) ThrowConversionError("WideCharToMultiByte");
    AnsiString result(static_cast<std::size_t>(bytes), '\0');
    const int written = WideCharToMultiByte(CP_ACP, 0, wide, length, &result[0], bytes, nullptr, nullptr);
    if (written <= 0) ThrowConversionError("WideCharToMultiByte");
    result.resize(static_cast<std::size_t>(written));
    return result;
}

void EnsureCodePage() {
    // Always there on Windows; asked all the same, so that both sides stop
    // the same way should a conversion ever fail.
    DecodeAnsi("\xD6\xD0", AnsiPage::System);
    DecodeAnsi("\xD6\xD0", AnsiPage::Thread);
}

}  // namespace kx
