#include "SystemText.h"

#include "TextContent.h"

namespace kx {

AnsiString SystemErrorText(DWORD error) {
    constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
    static_assert(kFlags == 0x3200, "message flags");
    char message[kSystemMessageBufferSize] = {};
    const DWORD length = FormatMessageA(kFlags, nullptr, error, 0, message, kSystemMessageBufferSize, nullptr);
    // A text that does not fit comes back as nothing (length 0).
    return TrimSystemErrorText(message, length < kSystemMessageBufferSize ? length : 0);
}

}  // namespace kx
