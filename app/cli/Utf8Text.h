// UTF-8 walked by character: for the columns a text takes, and for the
// characters a terminal's character set cannot show.
#pragma once

#include <cstddef>
#include <string>

namespace kx::cli {

// Length of the well-formed UTF-8 sequence at pos, with its code point in
// *cp; 0 when the bytes there are none (a stray byte, an overlong form, a
// surrogate, a sequence cut short).
std::size_t Utf8SequenceAt(const std::string& text, std::size_t pos, char32_t* cp);

}  // namespace kx::cli
