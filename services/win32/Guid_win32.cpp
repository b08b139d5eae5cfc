// NewGuidText through COM.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "SystemCalls.h"
#include "SystemText.h"
#include "UnitFunction.h"
#include "Win32Handles.h"

namespace kx {

AnsiString NewGuidText() {
    GUID guid{};
    const HRESULT created = os::CoCreateGuid(&guid);
    if (FAILED(created)) {
        // Two projects must never share an identifier: the all-zero GUID a
        // failure leaves is no fallback.
        AnsiString why = SystemErrorText(static_cast<DWORD>(created));
        if (why.empty()) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(created));
            why = AnsiString("error ") + code;
        }
        throw KxError("Cannot create a GUID: " + why);
    }
    LPOLESTR wide = nullptr;
    const HRESULT formatted = StringFromCLSID(guid, &wide);
    const CoTaskText owned(wide);
    if (FAILED(formatted) || !owned) throw KxError("Out of memory");
    // Every character is ASCII: each unit is its own byte.
    AnsiString text;
    for (const OLECHAR* unit = owned.Get(); *unit != 0; ++unit) text += static_cast<char>(*unit);
    return text;
}

}  // namespace kx
