// The checks a template from the user's folder passes before anything is
// written. Messages are UTF-8 and name the line; the caller adds the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KxTypes.h"

namespace kx {

struct Finding {
    bool refusal = false;  // true: nothing may be written; false: a warning
    std::size_t line = 0;  // 1-based; 0 for the file as a whole
    std::string message;   // UTF-8, without the file and the line
};

struct CheckedText {
    AnsiString text;  // GBK with CR LF line ends, as the writers take it; empty when refused
    std::vector<Finding> findings;
    bool Refused() const;
};

// bytes: UTF-8 with or without a byte-order mark. substituted: whether
// "$ProjectName$" is replaced in this template (else every "$" is kept as it is).
// Refused: empty, not UTF-8, a NUL byte, characters code page 936 cannot hold.
// Warnings: a "$" that is not part of a placeholder that is replaced; line
// ends other than CR LF (converted, said once).
CheckedText CheckTemplateText(std::string_view bytes, bool substituted);

// Why the bytes are not a 32-bit DLL exporting ordinals 1 and 2 (UTF-8);
// nothing when they are.
std::optional<std::string> PointPickerDllProblem(const std::string& bytes);

}  // namespace kx
