// Code-page conversions through the system: the ANSI pages are whatever the
// machine and the thread's locale say (936 on the machines the tool is for).
#include <windows.h>

#include <climits>

#include "CodePage.h"
#include "TextContent.h"

namespace kx {

namespace {

WideString Decode(UINT codePage, DWORD flags, const std::string& text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return WideString();
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (units <= 0) return WideString();
    WideString result(static_cast<std::size_t>(units), u'\0');
    const int written = MultiByteToWideChar(codePage, flags, text.data(), length,
                                            reinterpret_cast<wchar_t*>(&result[0]), units);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

}  // namespace

WideString DecodeAnsi(const AnsiString& text, AnsiPage page) {
    // The UTF-16 writer's page asks for precomposed characters; the UTF-8
    // writer's conversion passes no flags.
    if (page == AnsiPage::System) return Decode(CP_ACP, MB_PRECOMPOSED, text);
    return Decode(CP_THREAD_ACP, 0, text);
}

std::string Utf8FromAnsi(const AnsiString& text) { return Utf8FromUnits(DecodeAnsi(text, AnsiPage::System)); }

AnsiString AnsiFromUtf8(const std::string& text) {
    const WideString units = Decode(CP_UTF8, 0, text);
    if (units.empty() || units.size() > static_cast<std::size_t>(INT_MAX)) return AnsiString();
    const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
    const int length = static_cast<int>(units.size());
    // No default-character arguments: characters without an ANSI form become '?'.
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return AnsiString();
    AnsiString result(static_cast<std::size_t>(bytes), '\0');
    const int written = WideCharToMultiByte(CP_ACP, 0, wide, length, &result[0], bytes, nullptr, nullptr);
    result.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return result;
}

}  // namespace kx
