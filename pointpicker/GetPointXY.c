/* GetPointXY.dll: how a generated KX project asks the user for a screen point.
   Built without the C runtime: the DLL is copied into every project and must
   load on a bare Windows. */
#include <windows.h>

#include "PickWindow.h"

/* 提示 */
#define NOTICE_CAPTION "\xCC\xE1\xCA\xBE"

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
    if (MessageBoxA(NULL, prompt ? prompt : "", NOTICE_CAPTION,
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
    MessageBoxA(NULL,
                /* 取点工具 GetPointXY.dll */
                "\xC8\xA1\xB5\xE3\xB9\xA4\xBE\xDF GetPointXY.dll\r\n\r\n"
                /* GetPoint(提示文字, x, y)：在屏幕上选取一个点。 */
                "GetPoint(\xCC\xE1\xCA\xBE\xCE\xC4\xD7\xD6, x, y)\xA3\xBA\xD4\xDA\xC6\xC1\xC4\xBB"
                "\xC9\xCF\xD1\xA1\xC8\xA1\xD2\xBB\xB8\xF6\xB5\xE3\xA1\xA3\r\n"
                /* 按鼠标任意键选取该点的屏幕坐标，按 Esc 键取消。 */
                "\xB0\xB4\xCA\xF3\xB1\xEA\xC8\xCE\xD2\xE2\xBC\xFC\xD1\xA1\xC8\xA1\xB8\xC3\xB5\xE3"
                "\xB5\xC4\xC6\xC1\xC4\xBB\xD7\xF8\xB1\xEA\xA3\xAC\xB0\xB4 Esc \xBC\xFC\xC8\xA1\xCF"
                "\xFB\xA1\xA3\r\n"
                /* 取消时 x、y 都是 -1，函数返回 0；选中时返回 1。 */
                "\xC8\xA1\xCF\xFB\xCA\xB1 x\xA1\xA2y \xB6\xBC\xCA\xC7 -1\xA3\xAC\xBA\xAF\xCA\xFD"
                "\xB7\xB5\xBB\xD8 0\xA3\xBB\xD1\xA1\xD6\xD0\xCA\xB1\xB7\xB5\xBB\xD8 1\xA1\xA3",
                NOTICE_CAPTION, MB_OK | MB_ICONINFORMATION);
}
