// New bitmaps from a bitmap: copies, formats, stretching, resizing, laying out, cutting out
// and greying, checked by sizes and pixels.
#include <vector>

#include "tests/imaging/PictureSupport.h"

namespace {

using pictures::kBlue;
using pictures::kGreen;
using pictures::kRed;
using pictures::Near;
using pictures::Owned;
using pictures::PixelAt;
using pictures::Pixels;

// Left half red, right half blue.
Owned RedBlue(int width, int height) {
    return pictures::Make(width, height,
                          [width](int x, int) { return x < width / 2 ? kRed : kBlue; });
}

bool AllOpaque(Gdiplus::Bitmap* bitmap) {
    for (uint32_t pixel : Pixels(bitmap)) {
        if ((pixel >> 24) != 0xFF) {
            return false;
        }
    }
    return true;
}

TEST(Copy, KeepsSizeFormatAndPixels) {
    Owned source = pictures::Make(9, 7, pictures::Pattern);
    Owned copy(program::Gdiplus_CopyBitmap(source.get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), source.get());
    EXPECT_EQ(copy->GetPixelFormat(), PixelFormat32bppARGB);
    EXPECT_EQ(Pixels(copy.get()), Pixels(source.get()));

    Owned rgb = pictures::Make(5, 4, pictures::Pattern, PixelFormat24bppRGB);
    Owned rgbCopy(program::Gdiplus_CopyBitmap(rgb.get()));
    ASSERT_TRUE(rgbCopy);
    EXPECT_EQ(rgbCopy->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(Pixels(rgbCopy.get()), Pixels(rgb.get()));
    EXPECT_EQ(program::Gdiplus_CopyBitmap(nullptr), nullptr);
}

TEST(Copy, TranslucentPixelsStayClose) {
    Owned source = pictures::Make(4, 4, [](int x, int y) {
        return static_cast<uint32_t>(0x40 + 0x30 * x) << 24 | 0x00C08040u |
               static_cast<uint32_t>(y);
    });
    Owned copy(program::Gdiplus_CopyBitmap(source.get()));
    ASSERT_TRUE(copy);
    const std::vector<uint32_t> expected = Pixels(source.get());
    const std::vector<uint32_t> actual = Pixels(copy.get());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(Near(actual[i], expected[i], 2)) << i;
    }
}

TEST(Copy, IndexedPicturesKeepIndicesAndPalette) {
    Owned indexed = pictures::MakeIndexed({0, 0, 0, 0, 3, 0}, {{3, 0xFF123456}});
    ASSERT_TRUE(indexed);
    Owned copy(program::Gdiplus_CopyBitmap(indexed.get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(PixelAt(copy.get(), 4, 0), 0xFF123456u);
    EXPECT_EQ(Pixels(copy.get()), Pixels(indexed.get()));
}

TEST(ModifyFormat, ConvertsAndKeepsColours) {
    Owned source = pictures::Make(6, 5, pictures::Pattern);
    Owned rgb(program::Gdiplus_ModifyBitmapFormat(source.get(), PixelFormat24bppRGB));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(Pixels(rgb.get()), Pixels(source.get()));
    Owned premultiplied(program::Gdiplus_ModifyBitmapFormat(source.get(), PixelFormat32bppPARGB));
    ASSERT_TRUE(premultiplied);
    EXPECT_EQ(premultiplied->GetPixelFormat(), PixelFormat32bppPARGB);
    EXPECT_EQ(Pixels(premultiplied.get()), Pixels(source.get()));
    EXPECT_EQ(program::Gdiplus_ModifyBitmapFormat(nullptr, PixelFormat24bppRGB), nullptr);
}

TEST(Stretch, ScalesTheWholePictureWithOpaqueEdges) {
    Owned source = RedBlue(2, 1);
    Owned stretched(program::Gdiplus_StretchBitmap(source.get(), 40, 20));
    ASSERT_TRUE(stretched);
    EXPECT_EQ(pictures::Width(stretched.get()), 40);
    EXPECT_EQ(pictures::Height(stretched.get()), 20);
    EXPECT_EQ(stretched->GetPixelFormat(), PixelFormat32bppARGB);
    // Where the blend between the two pixels lies depends on the sampling; the corners are
    // the source's own colours, and every pixel stays opaque.
    EXPECT_EQ(PixelAt(stretched.get(), 0, 0), kRed);
    EXPECT_EQ(PixelAt(stretched.get(), 0, 19), kRed);
    EXPECT_EQ(PixelAt(stretched.get(), 39, 0), kBlue);
    EXPECT_EQ(PixelAt(stretched.get(), 39, 19), kBlue);
    EXPECT_TRUE(AllOpaque(stretched.get())) << "the border must not fade to transparent";
    EXPECT_EQ(program::Gdiplus_StretchBitmap(source.get(), 0, 20), nullptr);
    EXPECT_EQ(program::Gdiplus_StretchBitmap(source.get(), 20, -3), nullptr);
    EXPECT_EQ(program::Gdiplus_StretchBitmap(nullptr, 20, 20), nullptr);
}

struct ResizeResult {
    int mode;
    int width;
    int height;
};

TEST(Resize, TwoHundredByHundredTowardsAHundredSquare) {
    Owned source = RedBlue(200, 100);
    const ResizeResult results[] = {
        {0, 100, 100}, {1, 100, 50}, {2, 200, 100}, {3, 100, 50}, {4, 200, 100}};
    for (const ResizeResult& expected : results) {
        SCOPED_TRACE(expected.mode);
        Owned resized(
            program::Gdiplus_ResizeBitmap(source.get(), 100, 100, expected.mode, 0xFF00FF00));
        ASSERT_TRUE(resized);
        EXPECT_EQ(pictures::Width(resized.get()), expected.width);
        EXPECT_EQ(pictures::Height(resized.get()), expected.height);
        EXPECT_EQ(resized->GetPixelFormat(), PixelFormat32bppARGB);
        const int right = expected.width - 1;
        const int bottom = expected.height - 1;
        EXPECT_EQ(PixelAt(resized.get(), 2, bottom / 2), kRed);
        EXPECT_EQ(PixelAt(resized.get(), right - 2, bottom / 2), kBlue);
    }
    EXPECT_EQ(program::Gdiplus_ResizeBitmap(source.get(), 100, 100, 5, 0), nullptr);
    EXPECT_EQ(program::Gdiplus_ResizeBitmap(source.get(), 0, 100, 0, 0), nullptr);
    EXPECT_EQ(program::Gdiplus_ResizeBitmap(nullptr, 100, 100, 0, 0), nullptr);
}

TEST(Resize, TheBackgroundShowsThroughTransparentPixels) {
    Owned source = pictures::Make(10, 10, [](int x, int) { return x < 5 ? 0u : kRed; });
    Owned resized(program::Gdiplus_ResizeBitmap(source.get(), 20, 20, 1, 0xFF0000FF));
    ASSERT_TRUE(resized);
    EXPECT_EQ(PixelAt(resized.get(), 3, 10), kBlue);
    EXPECT_EQ(PixelAt(resized.get(), 16, 10), kRed);
}

// 400 x 300 in columns: red up to 50, green for the middle 300, blue from 350.
Owned ThreeBands() {
    return pictures::Make(400, 300, [](int x, int) {
        return x < 50 ? kRed : x < 350 ? kGreen : kBlue;
    });
}

TEST(Dispose, CropToFillTakesTheCentredSquare) {
    Owned source = ThreeBands();
    Owned cropped(program::Gdiplus_DisposeBitmapByMode(source.get(), 100, 100, 0, 0xFF000000));
    ASSERT_TRUE(cropped);
    EXPECT_EQ(pictures::Width(cropped.get()), 100);
    EXPECT_EQ(pictures::Height(cropped.get()), 100);
    int notGreen = 0;
    for (uint32_t pixel : Pixels(cropped.get())) {
        notGreen += pixel != kGreen ? 1 : 0;
    }
    EXPECT_EQ(notGreen, 0) << "only the middle 300 columns are shown";
}

uint32_t TilePattern(int x, int y) {
    return pictures::Pattern(x, y);
}

TEST(Dispose, TilesAreUnscaledWithCutLastColumnAndRow) {
    Owned source = pictures::Make(30, 20, TilePattern);
    Owned tiled(program::Gdiplus_DisposeBitmapByMode(source.get(), 100, 50, 2, 0xFFFFFFFF));
    ASSERT_TRUE(tiled);
    ASSERT_EQ(pictures::Width(tiled.get()), 100);
    ASSERT_EQ(pictures::Height(tiled.get()), 50);
    const std::vector<uint32_t> pixels = Pixels(tiled.get());
    int wrong = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            wrong +=
                pixels[static_cast<size_t>(y * 100 + x)] != TilePattern(x % 30, y % 20) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Dispose, CentrePlacesSmallSourcesOnTheBackground) {
    Owned source = pictures::Make(50, 30, TilePattern);
    Owned centred(program::Gdiplus_DisposeBitmapByMode(source.get(), 100, 100, 3, 0xFF202020));
    ASSERT_TRUE(centred);
    EXPECT_EQ(PixelAt(centred.get(), 24, 50), 0xFF202020u);
    EXPECT_EQ(PixelAt(centred.get(), 25, 35), TilePattern(0, 0));
    EXPECT_EQ(PixelAt(centred.get(), 74, 64), TilePattern(49, 29));
    EXPECT_EQ(PixelAt(centred.get(), 75, 64), 0xFF202020u);
    EXPECT_EQ(PixelAt(centred.get(), 50, 65), 0xFF202020u);

    Owned large = pictures::Make(150, 150, TilePattern);
    Owned middle(program::Gdiplus_DisposeBitmapByMode(large.get(), 100, 100, 3, 0xFF202020));
    ASSERT_TRUE(middle);
    EXPECT_EQ(PixelAt(middle.get(), 0, 0), TilePattern(25, 25));
    EXPECT_EQ(PixelAt(middle.get(), 99, 99), TilePattern(124, 124));
}

TEST(Dispose, FitStretchAndUnknownModes) {
    Owned source = RedBlue(200, 100);
    Owned fitted(program::Gdiplus_DisposeBitmapByMode(source.get(), 100, 100, 1, 0));
    ASSERT_TRUE(fitted);
    EXPECT_EQ(pictures::Width(fitted.get()), 100);
    EXPECT_EQ(pictures::Height(fitted.get()), 50) << "fit answers the fitted size";
    Owned stretched(program::Gdiplus_DisposeBitmapByMode(source.get(), 30, 70, 4, 0));
    ASSERT_TRUE(stretched);
    EXPECT_EQ(pictures::Width(stretched.get()), 30);
    EXPECT_EQ(pictures::Height(stretched.get()), 70);
    EXPECT_EQ(program::Gdiplus_DisposeBitmapByMode(source.get(), 100, 100, 5, 0), nullptr);
    EXPECT_EQ(program::Gdiplus_DisposeBitmapByMode(source.get(), 0, 100, 0, 0), nullptr);
    EXPECT_EQ(program::Gdiplus_DisposeBitmapByMode(nullptr, 100, 100, 0, 0), nullptr);
}

TEST(CutOut, RegionsAtTheirSizeOrScaled) {
    Owned source = pictures::Make(60, 40, TilePattern);
    Owned part(program::Gdiplus_GetBitmapFromBitmap(source.get(), 10, 5, 20, 15, nullptr));
    ASSERT_TRUE(part);
    ASSERT_EQ(pictures::Width(part.get()), 20);
    ASSERT_EQ(pictures::Height(part.get()), 15);
    EXPECT_EQ(PixelAt(part.get(), 0, 0), TilePattern(10, 5));
    EXPECT_EQ(PixelAt(part.get(), 19, 14), TilePattern(29, 19));

    const RECT rect{10, 5, 30, 20};
    Owned same(program::Gdiplus_GetBitmapFromBitmapByRect(source.get(), &rect, nullptr));
    ASSERT_TRUE(same);
    EXPECT_EQ(Pixels(same.get()), Pixels(part.get()));

    // Blocks of 4 x 4 doubled: the middle of each block keeps its colour.
    Owned blocks = pictures::Make(16, 16, [](int x, int y) { return TilePattern(x / 4, y / 4); });
    const SIZE doubled{16, 16};
    Owned scaled(program::Gdiplus_GetBitmapFromBitmap(blocks.get(), 4, 4, 8, 8, &doubled));
    ASSERT_TRUE(scaled);
    ASSERT_EQ(pictures::Width(scaled.get()), 16);
    EXPECT_EQ(PixelAt(scaled.get(), 3, 3), TilePattern(1, 1));
    EXPECT_EQ(PixelAt(scaled.get(), 12, 12), TilePattern(2, 2));
    EXPECT_EQ(PixelAt(scaled.get(), 12, 3), TilePattern(2, 1));
}

TEST(CutOut, MissingOrEmptyRegions) {
    Owned source = pictures::Make(10, 10, TilePattern);
    const RECT empty{5, 5, 5, 9};
    const SIZE none{0, 10};
    EXPECT_EQ(program::Gdiplus_GetBitmapFromBitmapByRect(source.get(), nullptr, nullptr), nullptr);
    EXPECT_EQ(program::Gdiplus_GetBitmapFromBitmapByRect(source.get(), &empty, nullptr), nullptr);
    EXPECT_EQ(program::Gdiplus_GetBitmapFromBitmap(source.get(), 0, 0, 0, 5, nullptr), nullptr);
    EXPECT_EQ(program::Gdiplus_GetBitmapFromBitmap(source.get(), 0, 0, 5, 5, &none), nullptr);
    EXPECT_EQ(program::Gdiplus_GetBitmapFromBitmap(nullptr, 0, 0, 5, 5, nullptr), nullptr);
}

TEST(Grey, ThirtyTwoBitPixelsKeepTheirAlpha) {
    Owned source = pictures::Make(3, 1, [](int x, int) {
        const uint32_t colours[] = {0x80FF0000, 0xFF00FF00, 0x200000FF};
        return colours[x];
    });
    Owned grey(program::Gdiplus_Gray(source.get()));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->GetPixelFormat(), PixelFormat32bppARGB);
    EXPECT_EQ(Pixels(grey.get()), (std::vector<uint32_t>{0x804C4C4C, 0xFF959595, 0x201C1C1C}));
    EXPECT_EQ(PixelAt(source.get(), 0, 0), 0x80FF0000u) << "the source stays";
    EXPECT_EQ(program::Gdiplus_Gray(nullptr), nullptr);
}

TEST(Grey, TwentyFourBitPixels) {
    Owned source = pictures::Make(
        2, 2, [](int x, int y) { return x == y ? kGreen : kRed; }, PixelFormat24bppRGB);
    Owned grey(program::Gdiplus_Gray(source.get()));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(Pixels(grey.get()),
              (std::vector<uint32_t>{0xFF959595, 0xFF4C4C4C, 0xFF4C4C4C, 0xFF959595}));
}

TEST(Grey, IndexedPicturesGetAGreyPalette) {
    Owned indexed = pictures::MakeIndexed({1, 2, 2, 1}, {{1, kRed}, {2, kBlue}});
    ASSERT_TRUE(indexed);
    Owned grey(program::Gdiplus_Gray(indexed.get()));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->GetPixelFormat(), PixelFormat8bppIndexed);
    EXPECT_EQ(Pixels(grey.get()),
              (std::vector<uint32_t>{0xFF4C4C4C, 0xFF1C1C1C, 0xFF1C1C1C, 0xFF4C4C4C}));
}

TEST(Grey, OtherFormatsGoThrough32Bit) {
    Owned source = pictures::Make(
        2, 1, [](int x, int) { return x == 0 ? kRed : kGreen; }, PixelFormat16bppRGB565);
    Owned grey(program::Gdiplus_Gray(source.get()));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->GetPixelFormat(), PixelFormat16bppRGB565);
    EXPECT_TRUE(Near(PixelAt(grey.get(), 0, 0), 0xFF4C4C4C, 8));
    EXPECT_TRUE(Near(PixelAt(grey.get(), 1, 0), 0xFF959595, 8));
}

}  // namespace
