// How tests print GBK text: its bytes, those beyond ASCII as \xNN. Every test
// translation unit sees these (the test build includes this header first),
// so gtest picks the same printer for AnsiString everywhere.
#pragma once

#include <ostream>

#include "../../services/KxTypes.h"  // found whatever the target's include path

namespace kx {

// Found by argument-dependent lookup: AnsiString's traits are kx's.
void PrintTo(const AnsiString& text, std::ostream* out);
std::ostream& operator<<(std::ostream& out, const AnsiString& text);

}  // namespace kx
