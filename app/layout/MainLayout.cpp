#include "MainLayout.h"

namespace kx::layout {

const std::array<ControlDesign, 6> kMainControls{{
    {"img1", ControlKind::Picture, {24, 16, 162, 162}, ""},
    // 如果您觉得好用，请用微信扫码捐赠，金额不限。
    {"lbl1", ControlKind::Label, {16, 200, 308, 14},
     "\xC8\xE7\xB9\xFB\xC4\xFA\xBE\xF5\xB5\xC3\xBA\xC3\xD3\xC3\xA3\xAC\xC7\xEB\xD3\xC3\xCE\xA2"
     "\xD0\xC5\xC9\xA8\xC2\xEB\xBE\xE8\xD4\xF9\xA3\xAC\xBD\xF0\xB6\xEE\xB2\xBB\xCF\xDE\xA1\xA3"},
    // 您的鼓励，是我前行的动力！
    {"lbl2", ControlKind::Label, {64, 224, 182, 14},
     "\xC4\xFA\xB5\xC4\xB9\xC4\xC0\xF8\xA3\xAC\xCA\xC7\xCE\xD2\xC7\xB0\xD0\xD0\xB5\xC4\xB6\xAF"
     "\xC1\xA6\xA3\xA1"},
    // KX工具下载
    {"lbl3", ControlKind::LinkLabel, {226, 112, 70, 14}, "KX\xB9\xA4\xBE\xDF\xCF\xC2\xD4\xD8"},
    // 生成KX项目
    {"btn1", ControlKind::Button, {217, 24, 89, 25}, "\xC9\xFA\xB3\xC9KX\xCF\xEE\xC4\xBF"},
    // 退出
    {"btn2", ControlKind::Button, {217, 64, 89, 25}, "\xCD\xCB\xB3\xF6"},
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
