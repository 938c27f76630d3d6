// Drawing bitmaps in every mode, with alpha, and rectangles and polygons, on a canvas.
#include <vector>

#include "tests/imaging/PictureSupport.h"

namespace {

using pictures::Canvas;
using pictures::kBlue;
using pictures::kClear;
using pictures::kGreen;
using pictures::kRed;
using pictures::Near;
using pictures::Owned;
using pictures::Pattern;

// How many pixels of the canvas inside area differ from expected(x, y).
int CountWrong(Canvas& canvas, const RECT& area, const pictures::PixelFunction& expected) {
    int wrong = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            wrong += canvas.At(x, y) != expected(x, y) ? 1 : 0;
        }
    }
    return wrong;
}

TEST(DrawBitmap, CropToFillShowsTheCentredPart) {
    Owned source = pictures::Make(400, 300, [](int x, int) {
        return x < 50 ? kRed : x < 350 ? kGreen : kBlue;
    });
    Canvas canvas(120, 120);
    const RECT destination{10, 10, 110, 110};
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, source.get(), nullptr, 0);
    EXPECT_EQ(canvas.CountNot(kGreen, destination), 0);
    EXPECT_EQ(canvas.CountOutsideNot(kClear, destination), 0);
}

TEST(DrawBitmap, FitCentresTheWholePicture) {
    Owned source = pictures::Make(200, 100, [](int, int) { return kRed; });
    Canvas canvas(100, 100);
    const RECT destination{0, 0, 100, 100};
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, source.get(), nullptr, 1);
    const RECT drawn{0, 25, 100, 75};
    EXPECT_EQ(canvas.CountNot(kRed, drawn), 0);
    EXPECT_EQ(canvas.CountOutsideNot(kClear, drawn), 0);
}

TEST(DrawBitmap, TilesStartAtTheDestinationUnscaled) {
    Owned source = pictures::Make(30, 20, Pattern);
    Canvas canvas(130, 80);
    const RECT destination{10, 10, 110, 60};
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, source.get(), nullptr, 2);
    EXPECT_EQ(CountWrong(canvas, destination,
                         [](int x, int y) { return Pattern((x - 10) % 30, (y - 10) % 20); }),
              0);
    EXPECT_EQ(canvas.CountOutsideNot(kClear, destination), 0);
}

TEST(DrawBitmap, CentrePlacesOrCutsUnscaled) {
    Owned small = pictures::Make(50, 50, Pattern);
    Canvas canvas(220, 220);
    const RECT destination{100, 100, 200, 200};
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, small.get(), nullptr, 3);
    const RECT placed{125, 125, 175, 175};
    EXPECT_EQ(CountWrong(canvas, placed, [](int x, int y) { return Pattern(x - 125, y - 125); }),
              0);
    EXPECT_EQ(canvas.CountOutsideNot(kClear, placed), 0);

    Owned large = pictures::Make(150, 150, Pattern);
    Canvas second(220, 220);
    program::Gdiplus_DrawBitmap(second.graphics(), &destination, large.get(), nullptr, 3);
    EXPECT_EQ(CountWrong(second, destination, [](int x, int y) { return Pattern(x - 75, y - 75); }),
              0);
    EXPECT_EQ(second.CountOutsideNot(kClear, destination), 0);
}

TEST(DrawBitmap, OtherModesStretchAPartOfTheSource) {
    Owned source = pictures::Make(40, 30, Pattern);
    Canvas canvas(60, 60);
    // A source part drawn into a destination of its own size is a plain copy.
    const RECT part{10, 5, 30, 25};
    const RECT destination{20, 30, 40, 50};
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, source.get(), &part, 7);
    EXPECT_EQ(CountWrong(canvas, destination, [](int x, int y) { return Pattern(x - 10, y - 25); }),
              0);
    EXPECT_EQ(canvas.CountOutsideNot(kClear, destination), 0);

    Owned twoColours = pictures::Make(2, 1, [](int x, int) { return x == 0 ? kRed : kBlue; });
    Canvas stretched(40, 20);
    const RECT all{0, 0, 40, 20};
    program::Gdiplus_DrawBitmap(stretched.graphics(), &all, twoColours.get(), nullptr, -1);
    EXPECT_EQ(stretched.At(0, 0), kRed);
    EXPECT_EQ(stretched.At(0, 19), kRed);
    EXPECT_EQ(stretched.At(39, 19), kBlue);
    int faded = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            faded += (stretched.At(x, y) >> 24) != 0xFF ? 1 : 0;
        }
    }
    EXPECT_EQ(faded, 0) << "edges are clamped, not blended with transparency";
}

TEST(DrawBitmap, MissingArgumentsDrawNothing) {
    Owned source = pictures::Make(4, 4, Pattern);
    Canvas canvas(10, 10);
    const RECT destination{0, 0, 10, 10};
    const RECT empty{5, 5, 5, 9};
    program::Gdiplus_DrawBitmap(nullptr, &destination, source.get(), nullptr, 0);
    program::Gdiplus_DrawBitmap(canvas.graphics(), nullptr, source.get(), nullptr, 0);
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, nullptr, nullptr, 0);
    program::Gdiplus_DrawBitmap(canvas.graphics(), &empty, source.get(), nullptr, 1);
    program::Gdiplus_DrawBitmap(canvas.graphics(), &destination, source.get(), &empty, 2);
    program::Gdiplus_DrawAlphaBitmap(nullptr, &destination, source.get(), nullptr, 1, 255);
    program::Gdiplus_DrawAlphaBitmap(canvas.graphics(), &destination, nullptr, nullptr, 1, 255);
    program::Gdiplus_DrawAlphaBitmap(canvas.graphics(), nullptr, source.get(), nullptr, 1, 255);
    EXPECT_EQ(canvas.CountNot(kClear, destination), 0);
}

TEST(DrawAlphaBitmap, MultipliesAlphaByTheValueOver256) {
    Owned source = pictures::Make(10, 10, [](int, int) { return kRed; });
    const RECT destination{0, 0, 20, 20};
    struct Case {
        int alpha;
        uint32_t expected;
    };
    // alpha / 256: 128 halves, 255 leaves a trace of transparency, only the low byte counts.
    const Case cases[] = {
        {128, 0x80FF0000}, {255, 0xFEFF0000}, {64, 0x40FF0000}, {0x180, 0x80FF0000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha);
        Canvas canvas(20, 20);
        program::Gdiplus_DrawAlphaBitmap(canvas.graphics(), &destination, source.get(), nullptr, 1,
                                         c.alpha);
        EXPECT_TRUE(Near(canvas.At(0, 0), c.expected, 1));
        EXPECT_TRUE(Near(canvas.At(10, 10), c.expected, 1));
        EXPECT_TRUE(Near(canvas.At(19, 19), c.expected, 1));
    }
    Canvas canvas(20, 20);
    program::Gdiplus_DrawAlphaBitmap(canvas.graphics(), &destination, source.get(), nullptr, 1, 0);
    EXPECT_EQ(canvas.CountNot(kClear, destination), 0) << "alpha 0 shows nothing";
}

TEST(DrawAlphaBitmap, WithoutStretchTheTopLeftPartIsCentred) {
    Owned source = pictures::Make(30, 20, Pattern);
    Canvas canvas(100, 100);
    const RECT destination{0, 0, 100, 100};
    program::Gdiplus_DrawAlphaBitmap(canvas.graphics(), &destination, source.get(), nullptr, 0,
                                     255);
    // Opaque pixels at 255/256 keep their colour and lose a trace of alpha.
    EXPECT_TRUE(Near(canvas.At(35, 40), Pattern(0, 0) & 0xFEFFFFFF, 1));
    EXPECT_TRUE(Near(canvas.At(64, 59), Pattern(29, 19) & 0xFEFFFFFF, 1));
    const RECT placed{35, 40, 65, 60};
    EXPECT_EQ(canvas.CountOutsideNot(kClear, placed), 0);

    Owned large = pictures::Make(150, 150, Pattern);
    Canvas second(100, 100);
    program::Gdiplus_DrawAlphaBitmap(second.graphics(), &destination, large.get(), nullptr, 0, 255);
    EXPECT_TRUE(Near(second.At(0, 0), Pattern(0, 0) & 0xFEFFFFFF, 1));
    EXPECT_TRUE(Near(second.At(99, 99), Pattern(99, 99) & 0xFEFFFFFF, 1));
}

TEST(Shapes, FillRectCoversExactlyTheRectangle) {
    Canvas canvas(20, 20);
    Gdiplus::SolidBrush brush{Gdiplus::Color(kBlue)};
    const RECT rect{2, 3, 7, 9};
    program::Gdiplus_FillRect(canvas.graphics(), &rect, &brush);
    EXPECT_EQ(canvas.CountNot(kBlue, rect), 0);
    EXPECT_EQ(canvas.CountOutsideNot(kClear, rect), 0);
    program::Gdiplus_FillRect(canvas.graphics(), &rect, nullptr);
    program::Gdiplus_FillRect(canvas.graphics(), nullptr, &brush);
    program::Gdiplus_FillRect(nullptr, &rect, &brush);
}

TEST(Shapes, FillPolygonUsesAlternateFilling) {
    Canvas canvas(100, 100);
    Gdiplus::SolidBrush brush{Gdiplus::Color(kGreen)};
    // A five-pointed star drawn in one stroke: its middle is covered twice, which the
    // alternate mode leaves empty.
    const Gdiplus::Point star[] = {{50, 5}, {79, 95}, {2, 39}, {98, 39}, {21, 95}};
    program::Gdiplus_FillPolygon(canvas.graphics(), star, 5, &brush);
    EXPECT_EQ(canvas.At(50, 50), kClear) << "the middle is not filled";
    EXPECT_EQ(canvas.At(50, 20), kGreen) << "the top point is";
    EXPECT_EQ(canvas.At(15, 42), kGreen) << "the left point is";
    EXPECT_EQ(canvas.At(5, 90), kClear);
    program::Gdiplus_FillPolygon(canvas.graphics(), nullptr, 5, &brush);
    program::Gdiplus_FillPolygon(canvas.graphics(), star, 5, nullptr);
    program::Gdiplus_FillPolygon(nullptr, star, 5, &brush);
}

TEST(Shapes, DrawRectOutlinesInsideByThePenWidth) {
    Canvas canvas(40, 30);
    const RECT rect{10, 10, 30, 20};
    program::Gdiplus_DrawRect(canvas.graphics(), &rect, kRed, 1.0f);
    // A one-pixel pen around (10, 10) with size 19 x 9: columns 10 and 29, rows 10 and 19.
    EXPECT_EQ(canvas.At(10, 15), kRed);
    EXPECT_EQ(canvas.At(29, 15), kRed);
    EXPECT_EQ(canvas.At(20, 10), kRed);
    EXPECT_EQ(canvas.At(20, 19), kRed);
    EXPECT_EQ(canvas.At(20, 15), kClear) << "only the outline";
    EXPECT_EQ(canvas.At(30, 15), kClear);
    EXPECT_EQ(canvas.At(20, 20), kClear);
    program::Gdiplus_DrawRect(canvas.graphics(), nullptr, kRed, 1.0f);
    program::Gdiplus_DrawRect(nullptr, &rect, kRed, 1.0f);
}

}  // namespace
