#include "FontChoice.h"

#include <vector>

#include "UnitFunction.h"

namespace kx::win {
namespace {

Font CreateFontFor(const FontRequest& request) {
    return Font(CreateFontA(request.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, request.charset,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH, request.face));
}

bool FontShowsAll(HFONT font, const std::vector<const char*>& texts) {
    for (const char* text : texts) {
        if (!FontShowsText(font, text)) return false;
    }
    return true;
}

}  // namespace

bool FontShowsText(HFONT font, const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) return true;
    std::vector<wchar_t> wide(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    const int count = length - 1;  // without the terminating zero

    ScopedWindowDC screen(nullptr);
    if (!screen.Get()) return true;  // nothing to ask: keep the request
    ScopedSelect select(screen.Get(), font);
    std::vector<WORD> glyphs(static_cast<std::size_t>(count));
    if (GetGlyphIndicesW(screen.Get(), wide.data(), count, glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return true;  // a font the call cannot inspect: keep it
    }
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        // Blanks have no ink to lose; only printing characters count.
        if (wide[at] > L' ' && glyphs[at] == 0xFFFF) return false;
    }
    return true;
}

BYTE AnsiCodePageCharset() {
    CHARSETINFO info{};
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<DWORD_PTR>(GetACP())), &info,
                              TCI_SRCCODEPAGE)) {
        return DEFAULT_CHARSET;
    }
    return static_cast<BYTE>(info.ciCharset);
}

Font CreateFontShowing(const FontRequest& request, const std::vector<const char*>& texts) {
    Font font = CreateFontFor(request);
    // DEFAULT_CHARSET already stands for the code page's character set.
    if (font && (request.charset == DEFAULT_CHARSET || FontShowsAll(font.Get(), texts))) {
        return font;
    }
    // The same face in the code page's character set; where the face itself
    // lacks the glyphs, whatever face the system has for that character set.
    const BYTE fallback = AnsiCodePageCharset();
    for (const char* face : {request.face, ""}) {
        Font other = CreateFontFor({request.height, fallback, face});
        if (other && FontShowsAll(other.Get(), texts)) return other;
    }
    if (!font) throw KxError("Cannot create a font");
    return font;
}

}  // namespace kx::win
