// The picking window: the screen under a faint veil and a cross-hair cursor,
// until a mouse button names a point or the user gives up.
#ifndef KX_POINTPICKER_PICK_WINDOW_H
#define KX_POINTPICKER_PICK_WINDOW_H

#include <windows.h>

// The screen point of the first mouse button press; (-1, -1) after Escape,
// a closed window or any failure to show the window at all.
POINT PickScreenPoint(HINSTANCE instance);

#endif
