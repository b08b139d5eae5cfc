// The text prompt's layout in dialog units of its font.
#pragma once

#include "Geometry.h"

namespace kx::layout {

// What the window side measures before laying out.
struct PromptMeasures {
    int unitX;        // average width of A-Z a-z, truncated
    int unitY;        // height of that text
    int labelWidth;   // the wrapped prompt, at most PromptLabelMaxWidth
    int labelHeight;
    int editHeight;
};

struct PromptRects {
    int clientWidth;
    int clientHeight;
    Rect label;
    Rect edit;
    Rect ok;
    Rect cancel;
};

// The 52 letters whose extent gives the dialog units.
constexpr const char kUnitSample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kUnitSampleLength = 52;

int AverageCharWidth(int sampleWidth);
int PromptLabelMaxWidth(int unitX);
Point PromptLabelOrigin(int unitX, int unitY);
PromptRects LayoutPrompt(const PromptMeasures& m);

}  // namespace kx::layout
