// The one way the POSIX converters are opened, swappable so that tests can
// stage a system whose iconv lacks the code-page modules.
#pragma once

#include <iconv.h>

namespace kx::seams {

// iconv_open by default.
extern iconv_t (*OpenIconv)(const char* to, const char* from);

}  // namespace kx::seams
