#include "PickWindow.h"

#define PICK_CLASS "KXPointPickerVeil"

/* Dark enough to show that picking is on, light enough to aim through. */
#define VEIL_ALPHA 64

typedef struct {
    POINT point;
    BOOL done;
} Pick;

static void TakePoint(HWND window, Pick* pick, LPARAM lParam)
{
    /* The coordinates are signed 16-bit values: with the mouse captured, a
       press on a monitor left of or above the primary one arrives negative. */
    POINT p;
    p.x = (short)LOWORD(lParam);
    p.y = (short)HIWORD(lParam);
    ClientToScreen(window, &p);
    pick->point = p;
    DestroyWindow(window);
}

static LRESULT CALLBACK PickProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Pick* pick = (Pick*)GetWindowLongPtrA(window, GWLP_USERDATA);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          (LONG_PTR)((const CREATESTRUCTA*)lParam)->lpCreateParams);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        if (pick) {
            TakePoint(window, pick, lParam);
        }
        return message == WM_XBUTTONDOWN;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        if (pick) {
            pick->done = TRUE;
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void RunUntilDone(HWND window, Pick* pick)
{
    MSG msg;
    while (!pick->done) {
        BOOL got = GetMessageA(&msg, NULL, 0, 0);
        if (got == 0) {
            /* The caller's own loop must still see the quit request. */
            PostQuitMessage((int)msg.wParam);
        }
        if (got == 0 || got == -1) {
            DestroyWindow(window);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

POINT PickScreenPoint(HINSTANCE instance)
{
    Pick pick;
    WNDCLASSA wc;
    HCURSOR cross = LoadCursorA(NULL, IDC_CROSS);
    HWND window;

    pick.point.x = -1;
    pick.point.y = -1;
    pick.done = FALSE;

    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = PickProc;
    wc.hInstance = instance;
    wc.hCursor = cross;
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = PICK_CLASS;
    /* Another thread may be picking right now; its class serves us as well. */
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return pick.point;
    }

    window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, PICK_CLASS, "",
                             WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                             GetSystemMetrics(SM_CYSCREEN), NULL, NULL, instance, &pick);
    if (window) {
        /* Without the alpha the layered window would stay invisible and let
           every click through, so a failure here means no pick at all. */
        if (SetLayeredWindowAttributes(window, 0, VEIL_ALPHA, LWA_ALPHA)) {
            ShowWindow(window, SW_SHOWMAXIMIZED);
            /* Focus for Escape, capture so that no press escapes the pick;
               either may be refused, and picking still works without it. */
            SetForegroundWindow(window);
            SetCapture(window);
            SetCursor(cross);
            RunUntilDone(window, &pick);
        } else {
            DestroyWindow(window);
        }
    }
    /* Refused while another thread's window still uses the class; that
       thread's own unregistering then does it. */
    UnregisterClassA(PICK_CLASS, instance);
    return pick.point;
}
