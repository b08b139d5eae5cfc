#include "MainLayout.h"

#include "ProgramTexts.h"

namespace kx::layout {

const std::array<ControlDesign, 6> kMainControls{{
    {"img1", ControlKind::Picture, {24, 16, 162, 162}, ""},
    {"lbl1", ControlKind::Label, {16, 200, 308, 14}, KX_TEXT_DONATE},
    {"lbl2", ControlKind::Label, {64, 224, 182, 14}, KX_TEXT_THANKS},
    {"lbl3", ControlKind::LinkLabel, {226, 112, 70, 14}, KX_TEXT_DOWNLOAD_LINK},
    {"btn1", ControlKind::Button, {217, 24, 89, 25}, KX_TEXT_GENERATE_BUTTON},
    {"btn2", ControlKind::Button, {217, 64, 89, 25}, KX_TEXT_EXIT_BUTTON},
}};

int ScaleLength(int designLength, int textHeight) {
    return MulDiv(designLength, textHeight, kDesignTextHeight);
}

Rect ScaleRect(const Rect& design, int textHeight) {
    return Rect{ScaleLength(design.left, textHeight), ScaleLength(design.top, textHeight),
                ScaleLength(design.width, textHeight), ScaleLength(design.height, textHeight)};
}

int WindowFontHeightForDpi(int dpi) { return MulDiv(kWindowFontHeight, dpi, kDesignDpi); }

}  // namespace kx::layout
