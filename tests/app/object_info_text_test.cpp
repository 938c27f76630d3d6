// The panel texts, byte for byte, in both languages.
#include <gtest/gtest.h>

#include "app/ObjectInfoText.h"

namespace {

using zuvo::app::FormatObjectInfo;
using zuvo::app::ObjectSlot;

const std::wstring kEnglish =
    L"Object%s Information\r\ndistance:%5.2f m\r\nangle:%+5.1f \u00B0\r\nvelocity:%+6.2f m/s";
const std::wstring kChinese =
    L"\u76EE\u6807%s\u4FE1\u606F\r\n\u8DDD\u79BB:%5.2f m\r\n\u89D2\u5EA6:%+5.1f "
    L"\u00B0\r\n\u901F\u5EA6:%+6.2f m/s";

ObjectSlot Held(double distance, double angle, double velocity) {
    ObjectSlot slot;
    slot.id = 3;
    slot.distance = distance;
    slot.angle = angle;
    slot.velocity = velocity;
    return slot;
}

TEST(ObjectInfoText, SingleObjectModeHasNoNumber) {
    EXPECT_EQ(FormatObjectInfo(kEnglish, 1, 0, Held(1.5, -12.34, 0.25)),
              L"Object Information\r\ndistance: 1.50 m\r\nangle:-12.3 \u00B0\r\n"
              L"velocity: +0.25 m/s");
}

TEST(ObjectInfoText, ThreeObjectModeNumbersThePanels) {
    EXPECT_EQ(FormatObjectInfo(kEnglish, 3, 2, Held(12.345, 5.0, -1.5)),
              L"Object 3 Information\r\ndistance:12.35 m\r\nangle: +5.0 \u00B0\r\n"
              L"velocity: -1.50 m/s");
    EXPECT_EQ(FormatObjectInfo(kChinese, 3, 0, Held(2.0, 0.0, 0.0)),
              L"\u76EE\u6807 1\u4FE1\u606F\r\n\u8DDD\u79BB: 2.00 m\r\n\u89D2\u5EA6: +0.0 "
              L"\u00B0\r\n\u901F\u5EA6: +0.00 m/s");
}

TEST(ObjectInfoText, AnEmptySlotReadsAsZeros) {
    EXPECT_EQ(FormatObjectInfo(kChinese, 1, 0, ObjectSlot{}),
              L"\u76EE\u6807\u4FE1\u606F\r\n\u8DDD\u79BB: 0.00 m\r\n\u89D2\u5EA6: +0.0 "
              L"\u00B0\r\n\u901F\u5EA6: +0.00 m/s");
}

TEST(ObjectInfoText, AFormatThatDoesNotFitTheArgumentsGivesNoText) {
    const ObjectSlot slot = Held(1.0, 1.0, 1.0);
    EXPECT_EQ(FormatObjectInfo(L"", 1, 0, slot), L"");
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f", 1, 0, slot), L"") << "too few conversions";
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f %s", 1, 0, slot), L"") << "a string for a number";
    EXPECT_EQ(FormatObjectInfo(L"%d %f %f %f", 1, 0, slot), L"");
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f %f %n", 1, 0, slot), L"");
    EXPECT_EQ(FormatObjectInfo(L"%s %f %f %", 1, 0, slot), L"") << "cut-off conversion";
    EXPECT_EQ(FormatObjectInfo(L"100%% %-4s|%.1f|%.1f|%.1f", 3, 1, slot), L"100%  2  |1.0|1.0|1.0")
        << "flags on the prefix and a literal percent";
}

}  // namespace
