// The checks a template from the user's folder passes before anything is
// written. Findings are values that name the line; the front end words them
// and adds the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "KxTypes.h"

namespace kx {

// Why GetPointXY.dll from the folder will not do.
enum class DllDefect {
    NotPe,           // no 32-bit PE structure can be read
    NotX86,          // another machine than 32-bit x86
    NotDll,          // an executable, not a DLL
    MissingOrdinal,  // number: the ordinal (1 or 2) it does not export
};

enum class FindingKind {
    Empty,              // nothing but a byte-order mark, if that
    NotUtf8,            // number: the first byte that is not UTF-8
    NulByte,            // a zero byte on the line
    NotInCodePage,      // characters: those of the line code page 936 cannot hold, each once
    LineNotInCodePage,  // the line cannot be kept as it is in code page 936
    StrayDollar,        // number: the column of a "$" outside $ProjectName$
    PlaceholderKept,    // number: the column of a $ProjectName$ this file does not replace
    LineEnds,           // line ends other than CR LF, first on this line (converted)
    MoreLines,          // number: further lines with the problem of the ones before
    Unreadable,         // the file cannot be read
    NotPointPicker,     // not a 32-bit DLL exporting ordinals 1 and 2; dll says why
    NoTemplateFiles,    // the folder holds none of the template files
};

struct Finding {
    Finding() = default;
    Finding(bool isRefusal, std::size_t onLine, FindingKind what, std::size_t value = 0)
        : refusal(isRefusal), line(onLine), kind(what), number(value) {}

    bool refusal = false;  // true: nothing may be written; false: a warning
    std::size_t line = 0;  // 1-based; 0 for the file as a whole
    FindingKind kind = FindingKind::Empty;
    std::size_t number = 0;              // by kind: a byte, a column, a count, an ordinal
    std::vector<char32_t> characters;    // NotInCodePage
    DllDefect dll = DllDefect::NotPe;    // NotPointPicker
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

// Why the bytes are not a 32-bit DLL exporting ordinals 1 and 2 (a
// NotPointPicker refusal); nothing when they are.
std::optional<Finding> PointPickerDllProblem(const std::string& bytes);

}  // namespace kx
