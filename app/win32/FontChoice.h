// Fonts that show the program's Chinese texts on every Windows of code page 936.
//
// A Chinese Windows associates fonts asked for with the ANSI character set with
// its GB2312 fonts and has "宋体" itself, so the labels' "宋体" with
// ANSI_CHARSET shows Chinese there. Where the face is missing and nothing
// associates (a trimmed system, a bare Wine prefix), the same request may fall
// on a Latin font and every Chinese character becomes a box. A request in a
// specific character set is therefore checked against the texts it must show
// and, only when a character has no glyph, made again in the character set of
// the ANSI code page. Where the glyphs are there, nothing changes.
#pragma once

#include <windows.h>

#include <vector>

#include "Handle.h"

namespace kx::win {

struct FontRequest {
    int height;        // CreateFont's height: negative for the character height
    BYTE charset;      // ANSI_CHARSET, DEFAULT_CHARSET, ...
    const char* face;  // in the ANSI code page
};

// True when the font has a glyph for every character of text (ANSI code page),
// or when the platform cannot tell; false when one is missing.
bool FontShowsText(HFONT font, const char* text);

// The character set that follows the ANSI code page (GB2312_CHARSET on 936).
BYTE AnsiCodePageCharset();

// The requested font, or, when it is in a specific character set and cannot
// show all of texts, the same face (or else any face) in the ANSI code page's
// character set. Throws KxError when no font can be made at all.
Font CreateFontShowing(const FontRequest& request, const std::vector<const char*>& texts);

}  // namespace kx::win
