/* GetPointXY.dll: how a generated KX project asks the user for a screen point.
   Built without the C runtime: the DLL is copied into every project and must
   load on a bare Windows. */
#include <windows.h>

#include "PickWindow.h"
#include "ProgramTexts.h"

static HINSTANCE dllInstance;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        dllInstance = instance;
        /* Nothing here cares about threads coming and going. */
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

/* Scripts call this as dllcall(..., "long", "GetPoint", "pchar *", prompt,
   "plong", x, "plong", y) and rely on x and y being written in every case. */
LONG WINAPI GetPoint(const char* prompt, LONG* x, LONG* y)
{
    POINT point;
    point.x = -1;
    point.y = -1;
    if (MessageBoxA(NULL, prompt ? prompt : "", KX_TEXT_NOTICE,
                    MB_OKCANCEL | MB_ICONINFORMATION | MB_TOPMOST) == IDOK) {
        point = PickScreenPoint(dllInstance);
    }
    if (x) {
        *x = point.x;
    }
    if (y) {
        *y = point.y;
    }
    return (point.x == -1 && point.y == -1) ? 0 : 1;
}

void WINAPI ReadMe(void)
{
    MessageBoxA(NULL, KX_TEXT_PICKER_README, KX_TEXT_NOTICE, MB_OK | MB_ICONINFORMATION);
}
