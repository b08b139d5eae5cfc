// What the user may call a project.
#pragma once

#include "Ports.h"

namespace kx {

// "wpx" and the date as yyyy_mm_dd.
AnsiString DefaultProjectName(const LocalDate& date);

// Leading and trailing bytes below 33 (space, tab, control characters) removed;
// bytes of 128 and above, a full-width space among them, are kept.
AnsiString TrimName(const AnsiString& text);

// Everything after the last backslash or colon that is a character of its own,
// not the second byte of a double-byte character.
AnsiString FinalPathComponent(const AnsiString& name);

enum class NameVerdict {
    Usable,
    Empty,      // nothing left after trimming
    Malformed,  // not a bare name of a new folder inside the output root
};

// Checks a trimmed name. Besides a path component, names that would not make
// a new child folder are refused: ".", "..", any name of dots only, a name with
// "/" (a separator too), a name ending in "." (Windows drops the dot and
// would open a different folder), a name ending in a lone lead byte and a name
// holding a zero byte (either would make the joined paths name another folder).
NameVerdict CheckProjectName(const AnsiString& trimmed);

}  // namespace kx
