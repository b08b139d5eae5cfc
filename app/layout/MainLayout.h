// The main window's fixed layout: the design table and its one-time scaling.
#pragma once

#include "Geometry.h"

#include <array>

namespace kx::layout {

enum class ControlKind { Picture, Label, LinkLabel, Button };

struct ControlDesign {
    const char* name;
    ControlKind kind;
    Rect bounds;       // client coordinates at the design text height
    const char* text;  // ANSI (GBK) bytes
};

// The layout was drawn for a window-font text height of 13 pixels at 96 dpi.
constexpr int kDesignTextHeight = 13;
constexpr int kDesignDpi = 96;
constexpr int kDesignClientWidth = 332;
constexpr int kDesignClientHeight = 251;
// The window stays exactly where it was designed, whatever the screen.
constexpr Point kWindowPosition{588, 264};
// Font heights (negative: character height without internal leading).
constexpr int kWindowFontHeight = -11;
constexpr int kLabelFontHeight = -14;

// Creation order, which is also the tab order of the buttons.
extern const std::array<ControlDesign, 6> kMainControls;

// One design length at the measured text height.
int ScaleLength(int designLength, int textHeight);
Rect ScaleRect(const Rect& design, int textHeight);

// The window font's height on a screen of the given resolution; the text
// height measured with that font then drives ScaleLength.
int WindowFontHeightForDpi(int dpi);

}  // namespace kx::layout
