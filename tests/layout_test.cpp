// The windows' layout math: the prompt's dialog-unit formulas and the main
// window's one-time scaling.
#include "MainLayout.h"
#include "PromptLayout.h"

#include <gtest/gtest.h>

#include <climits>

#include <set>
#include <string>

namespace kx::layout {
namespace {

void ExpectRect(const Rect& r, int left, int top, int width, int height) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(14, 13, 8), 23);   // 22.75
    EXPECT_EQ(MulDiv(5, 3, 2), 8);      // 7.5
    EXPECT_EQ(MulDiv(-5, 3, 2), -8);    // -7.5
    EXPECT_EQ(MulDiv(5, -3, 2), -8);
    EXPECT_EQ(MulDiv(-5, -3, 2), 8);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);      // 2.33
    EXPECT_EQ(MulDiv(-11, 120, 96), -14);  // -13.75
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

// Large products stay exact; a result an int cannot hold is -1, as the
// platform's MulDiv gives (checked against it under Wine as well).
TEST(MulDiv, KeepsLargeProductsExactAndOverflowsToMinusOne) {
    const struct {
        int a, b, c, result;
    } rows[] = {
        {2000000000, 3, 4, 1500000000},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 2, 1, -1},
        {INT_MIN, 1, 1, -1},        // -2147483648 is no result the platform gives
        {INT_MIN, 1, -1, -1},
        {INT_MIN, 1, 2, -1073741824},
        {-INT_MAX, 1, 1, -INT_MAX},
        {INT_MAX, 1, -1, -INT_MAX},
        {0, INT_MIN, 7, 0},
        {1, 1, 0, -1},
    };
    for (const auto& r : rows) EXPECT_EQ(MulDiv(r.a, r.b, r.c), r.result) << r.a << " * " << r.b << " / " << r.c;
}

TEST(PromptLayout, OneLineLabelAtSixByThirteenUnits) {
    const PromptRects r = LayoutPrompt(PromptMeasures{6, 13, 40, 13, 21});
    EXPECT_EQ(r.clientWidth, 270);
    EXPECT_EQ(r.clientHeight, 103);
    ExpectRect(r.label, 12, 13, 40, 13);
    ExpectRect(r.edit, 12, 31, 246, 21);
    ExpectRect(r.ok, 57, 67, 75, 23);
    ExpectRect(r.cancel, 138, 67, 75, 23);
}

TEST(PromptLayout, WrappedLabelPushesEverythingDown) {
    const PromptRects one = LayoutPrompt(PromptMeasures{6, 13, 246, 13, 21});
    const PromptRects three = LayoutPrompt(PromptMeasures{6, 13, 246, 39, 21});
    EXPECT_EQ(three.edit.top - one.edit.top, 26);
    EXPECT_EQ(three.ok.top - one.ok.top, 26);
    EXPECT_EQ(three.clientHeight - one.clientHeight, 26);
    EXPECT_EQ(three.clientWidth, one.clientWidth);
}

TEST(PromptLayout, FollowsLargerUnits) {
    // A larger font: X = 7, Y = 16, edit field 24 high.
    const PromptRects r = LayoutPrompt(PromptMeasures{7, 16, 30, 16, 24});
    EXPECT_EQ(r.clientWidth, 315);
    ExpectRect(r.label, 14, 16, 30, 16);
    ExpectRect(r.edit, 14, 37, 287, 24);
    ExpectRect(r.ok, 67, 76, 88, 28);   // 66.5 and 87.5 round up
    ExpectRect(r.cancel, 161, 76, 88, 28);
    EXPECT_EQ(r.clientHeight, 76 + 28 + 13);
}

TEST(PromptLayout, UnitsAndLimits) {
    EXPECT_EQ(AverageCharWidth(312), 6);
    EXPECT_EQ(AverageCharWidth(363), 6);  // truncated, not rounded
    EXPECT_EQ(AverageCharWidth(364), 7);
    EXPECT_EQ(PromptLabelMaxWidth(6), 246);
    EXPECT_EQ(std::string(kUnitSample).size(), static_cast<std::size_t>(kUnitSampleLength));
}

TEST(PromptLayout, CentresWithTruncatedHalves) {
    const Point p = CentredOrigin(Rect{0, 0, 1280, 1024}, 277, 131);
    EXPECT_EQ(p.x, 501);
    EXPECT_EQ(p.y, 446);
    const Point q = CentredOrigin(Rect{-1280, 100, 1280, 1024}, 277, 131);
    EXPECT_EQ(q.x, -1280 + 501);
    EXPECT_EQ(q.y, 100 + 446);
}

TEST(MainLayout, DesignTableAtDesignHeightIsUnchanged) {
    ASSERT_EQ(kMainControls.size(), 6u);
    const std::string order[] = {"img1", "lbl1", "lbl2", "lbl3", "btn1", "btn2"};
    for (std::size_t i = 0; i < kMainControls.size(); ++i) {
        EXPECT_EQ(kMainControls[i].name, order[i]);
        const Rect r = ScaleRect(kMainControls[i].bounds, kDesignTextHeight);
        const Rect& d = kMainControls[i].bounds;
        ExpectRect(r, d.left, d.top, d.width, d.height);
    }
    ExpectRect(kMainControls[4].bounds, 217, 24, 89, 25);
    ExpectRect(kMainControls[5].bounds, 217, 64, 89, 25);
}

TEST(MainLayout, NoControlsOverlapAndAllFitTheClientArea) {
    for (std::size_t i = 0; i < kMainControls.size(); ++i) {
        const Rect& a = kMainControls[i].bounds;
        EXPECT_LE(a.Right(), kDesignClientWidth) << kMainControls[i].name;
        EXPECT_LE(a.Bottom(), kDesignClientHeight) << kMainControls[i].name;
        for (std::size_t j = i + 1; j < kMainControls.size(); ++j) {
            const Rect& b = kMainControls[j].bounds;
            const bool apart = a.Right() <= b.left || b.Right() <= a.left ||
                               a.Bottom() <= b.top || b.Bottom() <= a.top;
            EXPECT_TRUE(apart) << kMainControls[i].name << " / " << kMainControls[j].name;
        }
    }
}

TEST(MainLayout, ScalesByMeasuredHeightWithRounding) {
    // 120 dpi: the -11 font becomes -14 and measures 16 pixels.
    EXPECT_EQ(WindowFontHeightForDpi(120), -14);
    EXPECT_EQ(WindowFontHeightForDpi(96), -11);
    EXPECT_EQ(WindowFontHeightForDpi(144), -17);  // -16.5
    ExpectRect(ScaleRect(Rect{217, 24, 89, 25}, 16), 267, 30, 110, 31);
    EXPECT_EQ(ScaleLength(kDesignClientWidth, 16), 409);   // 408.6
    EXPECT_EQ(ScaleLength(kDesignClientHeight, 16), 309);  // 308.9
    EXPECT_EQ(ScaleLength(kLabelFontHeight, 16), -17);     // -17.2
    EXPECT_EQ(ScaleLength(kLabelFontHeight, 20), -22);     // -21.5
}

TEST(MainLayout, TextsAreTheGbkBytes) {
    std::set<std::string> texts;
    for (const auto& c : kMainControls) texts.insert(c.text);
    // "退出" and "KX工具下载" in code page 936.
    EXPECT_TRUE(texts.count("\xCD\xCB\xB3\xF6"));
    EXPECT_TRUE(texts.count("KX\xB9\xA4\xBE\xDF\xCF\xC2\xD4\xD8"));
    // 22 and 13 full-width characters: the label widths of the design.
    EXPECT_EQ(std::string(kMainControls[1].text).size(), 44u);
    EXPECT_EQ(std::string(kMainControls[2].text).size(), 26u);
}

}  // namespace
}  // namespace kx::layout
