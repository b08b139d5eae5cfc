#include "ErrorText.h"

// kx_layout carries no dependency on the services library; the GBK rules and
// the path splitter are header-only.
#include "Gbk.h"
#include "PathSplit.h"

namespace kx::layout {

AnsiString ErrorBoxText(const AnsiString& message) {
    const std::size_t last = GbkLastCharStart(message);
    if (last == AnsiString::npos) return message;
    // A lead byte is at least 0x81: a double-byte character always gains it.
    if (static_cast<unsigned char>(message[last]) > static_cast<unsigned char>('.')) return message + ".";
    return message;
}

AnsiString ModuleBaseName(const AnsiString& moduleFileName) {
    const AnsiString name = SplitAtLastSeparator(moduleFileName).name;
    for (const GbkChar c : GbkChars(name)) {
        if (c.Is('.')) return name.substr(0, c.offset);
    }
    return name;
}

}  // namespace kx::layout
