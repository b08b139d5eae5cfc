// NewGuidText through COM.
#include <windows.h>
#include <objbase.h>

#include "UnitFunction.h"
#include "Win32Handles.h"

namespace kx {

AnsiString NewGuidText() {
    GUID guid{};
    // The status is not examined: a failure leaves the all-zero GUID.
    CoCreateGuid(&guid);
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
