// How many terminal columns a text takes, so that kxgen's help lines up and
// stays within 80 columns in English and in Chinese alike.
#pragma once

#include <cstddef>
#include <string>

namespace kx::cli {

// Columns of one character: 0 for combining marks, zero-width characters
// and controls; 2 for the East Asian Wide and Fullwidth ones (CJK
// ideographs and punctuation, kana, hangul, fullwidth forms, emoji), and 2
// too for the East Asian Ambiguous punctuation and symbols of code page
// 936's double-byte rows (“ ” … — │ ①): a console in code page 936 draws
// every double-byte character two columns wide, so text that fits there
// fits everywhere. 1 for everything else.
int CharacterWidth(char32_t cp);

// The sum over a UTF-8 text; a byte that starts no character counts 1.
std::size_t DisplayWidth(const std::string& utf8);

}  // namespace kx::cli
