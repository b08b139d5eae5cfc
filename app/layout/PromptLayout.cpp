#include "PromptLayout.h"

namespace kx::layout {
namespace {

int Horizontal(int units, int unitX) { return MulDiv(units, unitX, 4); }
int Vertical(int units, int unitY) { return MulDiv(units, unitY, 8); }

// Fixed pixel gaps below the label, below the edit field and below the buttons.
constexpr int kLabelGap = 5;
constexpr int kEditGap = 15;
constexpr int kBottomMargin = 13;

}  // namespace

int AverageCharWidth(int sampleWidth) { return sampleWidth / kUnitSampleLength; }

int PromptLabelMaxWidth(int unitX) { return Horizontal(164, unitX); }

Point PromptLabelOrigin(int unitX, int unitY) {
    return Point{Horizontal(8, unitX), Vertical(8, unitY)};
}

PromptRects LayoutPrompt(const PromptMeasures& m) {
    PromptRects r{};
    const Point origin = PromptLabelOrigin(m.unitX, m.unitY);
    r.clientWidth = Horizontal(180, m.unitX);
    r.label = Rect{origin.x, origin.y, m.labelWidth, m.labelHeight};
    r.edit = Rect{origin.x, r.label.Bottom() + kLabelGap, Horizontal(164, m.unitX), m.editHeight};
    const int buttonTop = r.edit.Bottom() + kEditGap;
    const int buttonWidth = Horizontal(50, m.unitX);
    const int buttonHeight = Vertical(14, m.unitY);
    r.ok = Rect{Horizontal(38, m.unitX), buttonTop, buttonWidth, buttonHeight};
    r.cancel = Rect{Horizontal(92, m.unitX), buttonTop, buttonWidth, buttonHeight};
    r.clientHeight = r.cancel.Bottom() + kBottomMargin;
    return r;
}

}  // namespace kx::layout
