// Rules of the button and the label that need no window: the kind of a button, the picture
// of each state, the placement of label lines, font sizes and colours.
#include <gtest/gtest.h>

#include <vector>

#include "controls/ButtonLook.h"
#include "controls/DrawingUnits.h"
#include "controls/LabelLayout.h"

namespace {

using namespace zuvo::controls;

TEST(ButtonLook, TheStyleDecidesTheKindAndTheButtonBecomesOwnerDrawn) {
    EXPECT_EQ(ButtonKindOfStyle(0x50011003), ButtonKind::Check);  // push-like automatic check
    EXPECT_EQ(ButtonKindOfStyle(0x50010000), ButtonKind::Push);
    EXPECT_EQ(ButtonKindOfStyle(0x50020009), ButtonKind::Radio);  // automatic radio
    EXPECT_EQ(ButtonKindOfStyle(0x50010001), ButtonKind::Push);   // default push button
    EXPECT_EQ(ButtonKindOfStyle(0x50010002), ButtonKind::Push);   // manual check box
    EXPECT_EQ(OwnerDrawnButtonStyle(0x50011003), 0x5001100Bu);
    EXPECT_EQ(OwnerDrawnButtonStyle(0x50010000), 0x5001000Bu);
}

struct PictureCase {
    bool disabled;
    bool selectedOrChecked;
    bool hover;
    ButtonPicture expected;
};

TEST(ButtonLook, EachStateShowsItsPicture) {
    const bool all[kPictureCount] = {true, true, true, true, true, true};
    const PictureCase cases[] = {
        {true, true, false, kPictureDisabledChecked}, {true, true, true, kPictureDisabledChecked},
        {true, false, false, kPictureDisabled},       {true, false, true, kPictureDisabled},
        {false, true, false, kPicturePressed},        {false, true, true, kPicturePressed},
        {false, false, true, kPictureHover},          {false, false, false, kPictureNormal},
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.disabled << c.selectedOrChecked << c.hover);
        EXPECT_EQ(ChooseButtonPicture(c.disabled, c.selectedOrChecked, c.hover, all), c.expected);
    }
}

TEST(ButtonLook, MissingPicturesFallBackToNormalThenToTheIcon) {
    const bool normalOnly[kPictureCount] = {true, false, false, false, false, false};
    const bool iconOnly[kPictureCount] = {false, false, false, false, false, true};
    const bool none[kPictureCount] = {};
    for (int state = 0; state < 8; ++state) {
        const bool disabled = (state & 1) != 0;
        const bool checked = (state & 2) != 0;
        const bool hover = (state & 4) != 0;
        SCOPED_TRACE(state);
        EXPECT_EQ(ChooseButtonPicture(disabled, checked, hover, normalOnly), kPictureNormal);
        EXPECT_EQ(ChooseButtonPicture(disabled, checked, hover, iconOnly), kPictureIcon);
        EXPECT_EQ(ChooseButtonPicture(disabled, checked, hover, none), kPictureNone);
    }
    const bool noHover[kPictureCount] = {true, true, false, true, true, true};
    EXPECT_EQ(ChooseButtonPicture(false, false, true, noHover), kPictureNormal);
}

TEST(LabelLayout, SpreadLinesHaveEqualGapsAboveBetweenAndBelow) {
    const std::vector<float> tops = LineTops(10.0f, 180.0f, {20, 20, 20, 20}, 0, kAlignCentre);
    EXPECT_EQ(tops, (std::vector<float>{30, 70, 110, 150}));  // gap 20, last ends 20 above 190

    EXPECT_EQ(LineTops(0.0f, 100.0f, {30}, 0, kAlignCentre), std::vector<float>{35.0f})
        << "one line is centred";
    EXPECT_EQ(LineTops(0.0f, 100.0f, {20, 10}, 5, kAlignCentre), (std::vector<float>{5.0f, 30.0f}))
        << "a fixed spacing is the gap, and the first line starts one gap down";
    EXPECT_EQ(LineTops(0.0f, 100.0f, {20, 10}, 5, kAlignNear), (std::vector<float>{0.0f, 25.0f}));
    EXPECT_EQ(LineTops(0.0f, 100.0f, {20, 10}, 5, kAlignFar), (std::vector<float>{65.0f, 90.0f}))
        << "the last line ends at the bottom";
}

TEST(LabelLayout, LinesTallerThanTheLabelOverlap) {
    const std::vector<float> tops = LineTops(0.0f, 200.0f, {60, 60, 60, 60}, 0, kAlignCentre);
    EXPECT_EQ(tops, (std::vector<float>{-8, 44, 96, 148}));
    EXPECT_TRUE(LineTops(0.0f, 100.0f, {}, 0, kAlignCentre).empty());
}

TEST(LabelLayout, TheLabelBecomesOwnerDrawn) {
    EXPECT_EQ(OwnerDrawnLabelStyle(0x50000000), 0x5000000Du);
    EXPECT_EQ(OwnerDrawnLabelStyle(0x50000201), 0x5000020Du);  // centred, centre image
    EXPECT_EQ(OwnerDrawnLabelStyle(0x50000002), 0x5000000Du);
}

TEST(DrawingUnits, FontSizesAndColours) {
    EXPECT_EQ(FontHeightForPoints(14, 96), -19);  // 18.67
    EXPECT_EQ(FontHeightForPoints(10, 96), -13);  // 13.33
    EXPECT_EQ(FontHeightForPoints(9, 96), -12);
    EXPECT_EQ(FontHeightForPoints(9, 120), -15);
    EXPECT_EQ(FontHeightForPoints(3, 12), -1);  // 0.5 rounds away from zero
    EXPECT_EQ(FontHeightForPoints(0, 96), 0);
    EXPECT_EQ(PointsForFontHeight(-19, 96), 14);
    EXPECT_EQ(PointsForFontHeight(-13, 96), 9) << "integer division";
    EXPECT_EQ(PointsForFontHeight(16, 96), 12) << "a cell height counts by its size";
    EXPECT_EQ(PointsForFontHeight(-16, 0), 0);
    EXPECT_EQ(OpaqueArgb(0x3C322A), 0xFF2A323Cu);
    EXPECT_EQ(OpaqueArgb(0xFF00000F), 0xFF0F0000u) << "the top byte of a reference is ignored";
}

}  // namespace
