// Drawing text, fitting a font size to a box, and right-to-left languages.
#include <cmath>

#include "tests/imaging/PictureSupport.h"

namespace {

using pictures::Canvas;

constexpr const wchar_t* kFamily = L"Liberation Sans";
constexpr const wchar_t* kText = L"Tracking 3 objects";

// The text's size measured directly with GDI+ at a point size.
Gdiplus::RectF Measure(Gdiplus::Graphics* graphics, const wchar_t* family, float size) {
    Gdiplus::FontFamily fontFamily(family);
    Gdiplus::Font font(&fontFamily, size, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
    Gdiplus::RectF box;
    EXPECT_EQ(graphics->MeasureString(kText, -1, &font, Gdiplus::RectF(0, 0, 0, 0), nullptr, &box),
              Gdiplus::Ok);
    return box;
}

// Gdiplus_CalcFontSize for kText in regular style.
int FitSize(Gdiplus::Graphics* graphics, SIZE limit, const wchar_t* family, int startSize,
            const wchar_t* text = kText) {
    return program::Gdiplus_CalcFontSize(graphics, text, limit, family, startSize,
                                         Gdiplus::FontStyleRegular, nullptr);
}

SIZE Covering(const Gdiplus::RectF& box) {
    return SIZE{static_cast<LONG>(std::ceil(box.Width)), static_cast<LONG>(std::ceil(box.Height))};
}

TEST(TextDrawing, DrawsInsideTheBoxAndLeavesAntiAliasingOn) {
    Canvas canvas(200, 60);
    ASSERT_NE(canvas.graphics(), nullptr);
    Gdiplus::FontFamily family(kFamily);
    Gdiplus::Font font(&family, 14.0f, Gdiplus::FontStyleBold, Gdiplus::UnitPoint);
    const Gdiplus::RectF box(10, 10, 150, 30);
    const Gdiplus::Color black(0xFF000000);
    program::Gdiplus_DrawText(canvas.graphics(), L"HIHI", &box, &black, &font, nullptr);
    EXPECT_EQ(canvas.graphics()->GetTextRenderingHint(), Gdiplus::TextRenderingHintAntiAlias);
    const RECT inside{10, 10, 160, 40};
    EXPECT_GT(canvas.CountNot(0, inside), 50) << "the text is drawn";
    EXPECT_EQ(canvas.CountOutsideNot(0, inside), 0) << "and nowhere else";
}

TEST(TextDrawing, NothingWithoutTextOrSurface) {
    Canvas canvas(100, 40);
    ASSERT_NE(canvas.graphics(), nullptr);
    canvas.graphics()->SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixel);
    Gdiplus::FontFamily family(kFamily);
    Gdiplus::Font font(&family, 12.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
    const Gdiplus::RectF box(0, 0, 100, 40);
    const Gdiplus::Color black(0xFF000000);
    program::Gdiplus_DrawText(canvas.graphics(), L"", &box, &black, &font, nullptr);
    program::Gdiplus_DrawText(canvas.graphics(), nullptr, &box, &black, &font, nullptr);
    program::Gdiplus_DrawText(nullptr, L"HI", &box, &black, &font, nullptr);
    program::Gdiplus_DrawText(canvas.graphics(), L"HI", nullptr, &black, &font, nullptr);
    EXPECT_EQ(canvas.graphics()->GetTextRenderingHint(),
              Gdiplus::TextRenderingHintSingleBitPerPixel)
        << "an empty text changes nothing";
    const RECT all{0, 0, 100, 40};
    EXPECT_EQ(canvas.CountNot(0, all), 0);
    // Without a font GDI+ refuses, and the surface says so.
    program::Gdiplus_DrawText(canvas.graphics(), L"HI", &box, &black, nullptr, nullptr);
    EXPECT_EQ(canvas.graphics()->GetLastStatus(), Gdiplus::InvalidParameter);
    EXPECT_EQ(canvas.CountNot(0, all), 0);
}

TEST(CalcFontSize, FindsTheLargestSizeThatFits) {
    Canvas canvas(10, 10);
    Gdiplus::Graphics* graphics = canvas.graphics();
    ASSERT_NE(graphics, nullptr);
    const SIZE limit = Covering(Measure(graphics, kFamily, 12.0f));
    const Gdiplus::RectF at13 = Measure(graphics, kFamily, 13.0f);
    ASSERT_TRUE(at13.Width > limit.cx || at13.Height > limit.cy) << "13 points must not fit";
    EXPECT_EQ(FitSize(graphics, limit, kFamily, 20), 12);
    EXPECT_EQ(FitSize(graphics, limit, kFamily, 12), 12);
    EXPECT_EQ(FitSize(graphics, limit, kFamily, 9), 9);
}

TEST(CalcFontSize, ZeroWhenNothingFits) {
    Canvas canvas(10, 10);
    const SIZE roomy{2000, 500};
    EXPECT_EQ(FitSize(canvas.graphics(), SIZE{3, 3}, kFamily, 20), 0);
    EXPECT_EQ(FitSize(canvas.graphics(), roomy, kFamily, 0), 0);
    EXPECT_EQ(FitSize(nullptr, roomy, kFamily, 20), 0);
    EXPECT_EQ(FitSize(canvas.graphics(), roomy, kFamily, 20, nullptr), 0);
}

TEST(CalcFontSize, UnknownFamiliesMeasureSansSerif) {
    Canvas canvas(10, 10);
    ASSERT_NE(canvas.graphics(), nullptr);
    Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif()->Clone();
    ASSERT_NE(generic, nullptr);
    wchar_t name[LF_FACESIZE];
    ASSERT_EQ(generic->GetFamilyName(name), Gdiplus::Ok);
    delete generic;
    const SIZE limit = Covering(Measure(canvas.graphics(), name, 10.0f));
    EXPECT_EQ(FitSize(canvas.graphics(), limit, L"No Such Family", 30), 10);
    EXPECT_EQ(FitSize(canvas.graphics(), limit, nullptr, 30), 10);
}

// Also where neither the family nor a generic sans-serif family is installed: the size is
// measured with the face GDI draws the default GUI font with.
TEST(CalcFontSize, AMissingFamilyStillGivesASize) {
    Canvas canvas(10, 10);
    ASSERT_NE(canvas.graphics(), nullptr);
    const SIZE roomy{2000, 500};
    EXPECT_EQ(FitSize(canvas.graphics(), roomy, L"No Such Family", 30), 30);
    EXPECT_EQ(FitSize(canvas.graphics(), SIZE{3, 3}, L"No Such Family", 30), 0);
}

TEST(StringFormat, RightToLeftLanguages) {
    EXPECT_EQ(program::Gdiplus_GetStringFormat(0x0401), 1);
    EXPECT_EQ(program::Gdiplus_GetStringFormat(0x040D), 1);
    EXPECT_EQ(program::Gdiplus_GetStringFormat(0x0409), 0);
}

}  // namespace
