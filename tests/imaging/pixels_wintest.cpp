// Win32 bitmaps, raw pixel buffers, alpha and regions made from bitmaps.
#include <cstring>
#include <vector>

#include "tests/imaging/PictureSupport.h"
#include "framework/Handles.h"

namespace {

using pictures::Near;
using pictures::Owned;
using pictures::Pattern;
using pictures::PixelAt;
using pictures::Pixels;

DIBSECTION SectionOf(HBITMAP bitmap) {
    DIBSECTION section{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof(section), &section), static_cast<int>(sizeof(section)));
    return section;
}

// The pixel of a DIB section as 0x00RRGGBB, counting rows from the top of the picture.
uint32_t DibPixel(const DIBSECTION& section, bool topDown, int x, int y) {
    const int rows = section.dsBm.bmHeight;
    const int row = topDown ? y : rows - 1 - y;
    const auto* bits =
        static_cast<const uint8_t*>(section.dsBm.bmBits) + row * section.dsBm.bmWidthBytes;
    const int bytes = section.dsBm.bmBitsPixel / 8;
    return static_cast<uint32_t>(bits[x * bytes + 2]) << 16 |
           static_cast<uint32_t>(bits[x * bytes + 1]) << 8 | bits[x * bytes];
}

TEST(HBitmap, TopDownAndBottomUpOverTheBackground) {
    Owned source = pictures::Make(
        4, 3, [](int x, int y) { return x == 0 && y == 0 ? 0x80FF0000u : Pattern(x, y); });
    for (int topDown = 0; topDown <= 1; ++topDown) {
        SCOPED_TRACE(topDown);
        zuvo::UniqueBitmap bitmap(program::Gdiplus_GetHBitmap(source.get(), 0xFF0000FF, topDown));
        ASSERT_TRUE(bitmap);
        const DIBSECTION section = SectionOf(bitmap.get());
        EXPECT_EQ(section.dsBm.bmWidth, 4);
        EXPECT_EQ(section.dsBm.bmHeight, 3);
        EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
        // The first row in memory is the top row only when top-down.
        const auto* first = static_cast<const uint32_t*>(section.dsBm.bmBits);
        EXPECT_EQ(first[1] & 0xFFFFFF, (topDown ? Pattern(1, 0) : Pattern(1, 2)) & 0xFFFFFF);
        EXPECT_EQ(DibPixel(section, topDown, 3, 2), Pattern(3, 2) & 0xFFFFFF);
        // Half-transparent red over the blue background.
        EXPECT_TRUE(Near(DibPixel(section, topDown, 0, 0), 0x0080007F, 2));
    }
    EXPECT_EQ(program::Gdiplus_GetHBitmap(nullptr, 0, 1), nullptr);
}

TEST(HBitmap, DepthFollowsThePicture) {
    Owned rgb = pictures::Make(5, 2, Pattern, PixelFormat24bppRGB);
    zuvo::UniqueBitmap fromRgb(program::Gdiplus_GetHBitmap(rgb.get(), 0, 1));
    ASSERT_TRUE(fromRgb);
    const DIBSECTION rgbSection = SectionOf(fromRgb.get());
    EXPECT_EQ(rgbSection.dsBm.bmBitsPixel, 24);
    EXPECT_EQ(DibPixel(rgbSection, true, 4, 1), Pattern(4, 1) & 0xFFFFFF);

    // Depths a DIB section cannot take directly become 32-bit.
    Owned indexed(program::Gdiplus_CreateBitmap(5, 2, PixelFormat8bppIndexed));
    ASSERT_TRUE(indexed);
    zuvo::UniqueBitmap fromIndexed(program::Gdiplus_GetHBitmap(indexed.get(), 0, 1));
    ASSERT_TRUE(fromIndexed);
    EXPECT_EQ(SectionOf(fromIndexed.get()).dsBm.bmBitsPixel, 32);
}

TEST(Buffer, CopiesTheRectangleRowByRow) {
    Owned source = pictures::Make(5, 4, Pattern);
    const RECT rect{1, 1, 4, 3};
    const int stride = 3 * 4 + 8;
    std::vector<uint8_t> buffer(stride * 2 + 16, 0xEE);
    ASSERT_EQ(program::Gdiplus_GetBitmapBuffer(source.get(), &rect, PixelFormat32bppARGB,
                                               buffer.data(), stride),
              1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, &buffer[static_cast<size_t>(y * stride + x * 4)], 4);
            EXPECT_EQ(pixel, Pattern(1 + x, 1 + y)) << x << ", " << y;
        }
        EXPECT_EQ(buffer[static_cast<size_t>(y * stride + 12)], 0xEE) << "padding stays";
    }
    EXPECT_EQ(buffer[static_cast<size_t>(2 * stride)], 0xEE);
}

TEST(Buffer, TwentyFourBitRowsArePaddedToFourBytes) {
    Owned source = pictures::Make(5, 4, Pattern);
    const RECT rect{0, 0, 3, 2};
    const int stride = 16;
    std::vector<uint8_t> buffer(stride * 2, 0xEE);
    ASSERT_EQ(program::Gdiplus_GetBitmapBuffer(source.get(), &rect, PixelFormat24bppRGB,
                                               buffer.data(), stride),
              1);
    // Blue, green, red of pixel (2, 1), then the padding byte of the 12-byte row.
    const uint32_t pixel = Pattern(2, 1);
    EXPECT_EQ(buffer[16 + 6], pixel & 0xFF);
    EXPECT_EQ(buffer[16 + 7], (pixel >> 8) & 0xFF);
    EXPECT_EQ(buffer[16 + 8], (pixel >> 16) & 0xFF);
    EXPECT_EQ(buffer[12], 0xEE) << "bytes past the 12-byte row stay";
}

TEST(Buffer, RectanglesAreLimitedToTheBitmap) {
    Owned source = pictures::Make(5, 4, Pattern);
    const RECT overhanging{3, 2, 50, 40};
    const int stride = 8;
    std::vector<uint8_t> buffer(stride * 2 + 64, 0xEE);
    ASSERT_EQ(program::Gdiplus_GetBitmapBuffer(source.get(), &overhanging, PixelFormat32bppARGB,
                                               buffer.data(), stride),
              1);
    uint32_t pixel = 0;
    std::memcpy(&pixel, &buffer[static_cast<size_t>(stride + 4)], 4);
    EXPECT_EQ(pixel, Pattern(4, 3));
    EXPECT_EQ(buffer[static_cast<size_t>(stride * 2)], 0xEE) << "only 2 x 2 pixels are copied";

    const RECT outside{10, 10, 20, 20};
    EXPECT_EQ(program::Gdiplus_GetBitmapBuffer(source.get(), &outside, PixelFormat32bppARGB,
                                               buffer.data(), stride),
              0);
    EXPECT_EQ(program::Gdiplus_GetBitmapBuffer(source.get(), nullptr, PixelFormat32bppARGB,
                                               buffer.data(), stride),
              0);
    EXPECT_EQ(program::Gdiplus_GetBitmapBuffer(source.get(), &overhanging, PixelFormat32bppARGB,
                                               nullptr, stride),
              0);
    EXPECT_EQ(program::Gdiplus_GetBitmapBuffer(nullptr, &overhanging, PixelFormat32bppARGB,
                                               buffer.data(), stride),
              0);
}

TEST(Alpha, OnlyPixelsInTheRangeChange) {
    Owned bitmap = pictures::Make(4, 1, [](int x, int) {
        const uint32_t pixels[] = {0x00123456, 0x01ABCDEF, 0x80FF0000, 0xFF00FF00};
        return pixels[x];
    });
    program::Gdiplus_SetBitmapAlpha(bitmap.get(), nullptr, 0x80, 0, 0);
    EXPECT_EQ(Pixels(bitmap.get()),
              (std::vector<uint32_t>{0x80123456, 0x01ABCDEF, 0x80FF0000, 0xFF00FF00}))
        << "fully transparent pixels take the new alpha, keeping their colour";
    program::Gdiplus_SetBitmapAlpha(bitmap.get(), nullptr, 0x1FF, 0x80, 0xFE);
    EXPECT_EQ(Pixels(bitmap.get()),
              (std::vector<uint32_t>{0xFF123456, 0x01ABCDEF, 0xFFFF0000, 0xFF00FF00}));
    program::Gdiplus_SetBitmapAlpha(nullptr, nullptr, 0, 0, 255);
}

TEST(Alpha, TheRectangleLimitsTheChange) {
    Owned bitmap = pictures::Make(6, 6, [](int, int) { return 0xFF336699u; });
    const RECT rect{4, 4, 100, 100};
    program::Gdiplus_SetBitmapAlpha(bitmap.get(), &rect, 0x10, 0, 255);
    EXPECT_EQ(PixelAt(bitmap.get(), 4, 4), 0x10336699u);
    EXPECT_EQ(PixelAt(bitmap.get(), 5, 5), 0x10336699u);
    EXPECT_EQ(PixelAt(bitmap.get(), 3, 5), 0xFF336699u);
    EXPECT_EQ(PixelAt(bitmap.get(), 5, 3), 0xFF336699u);
    const RECT outside{-10, -10, -1, -1};
    program::Gdiplus_SetBitmapAlpha(bitmap.get(), &outside, 0x10, 0, 255);
    EXPECT_EQ(PixelAt(bitmap.get(), 0, 0), 0xFF336699u);
}

// Every pixel of the bitmap lies in the region exactly when its alpha reaches threshold.
int CountMismatches(HRGN region, Gdiplus::Bitmap* bitmap, int threshold) {
    const std::vector<uint32_t> pixels = Pixels(bitmap);
    const int width = pictures::Width(bitmap);
    int wrong = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i) % width;
        const int y = static_cast<int>(i) / width;
        const bool inside = PtInRegion(region, x, y) != 0;
        wrong += inside != (static_cast<int>(pixels[i] >> 24) >= threshold) ? 1 : 0;
    }
    return wrong;
}

TEST(Region, ThresholdZeroTakesTheWholeBitmap) {
    Owned bitmap =
        pictures::Make(30, 20, [](int x, int y) { return (x + y) % 3 == 0 ? 0u : 0xFF000000u; });
    zuvo::UniqueRegion region(program::Gdiplus_CreateRgnFromBitmap(bitmap.get(), 0));
    ASSERT_TRUE(region);
    zuvo::UniqueRegion whole(CreateRectRgn(0, 0, 30, 20));
    EXPECT_TRUE(EqualRgn(region.get(), whole.get()));
}

TEST(Region, ThresholdTwoFiftyFiveTakesOpaquePixelsOnly) {
    Owned bitmap = pictures::Make(40, 30, [](int x, int y) {
        const int dx = x - 20;
        const int dy = y - 15;
        return dx * dx + dy * dy < 100 ? 0xFF00FF00u : dx * dx + dy * dy < 200 ? 0xFE00FF00u : 0u;
    });
    zuvo::UniqueRegion region(program::Gdiplus_CreateRgnFromBitmap(bitmap.get(), 255));
    ASSERT_TRUE(region);
    EXPECT_EQ(CountMismatches(region.get(), bitmap.get(), 255), 0);
    zuvo::UniqueRegion wider(program::Gdiplus_CreateRgnFromBitmap(bitmap.get(), 0xFE));
    ASSERT_TRUE(wider);
    EXPECT_EQ(CountMismatches(wider.get(), bitmap.get(), 0xFE), 0);
}

TEST(Region, ManyRunsSpanSeveralBatches) {
    // A checkerboard of 120 x 100 has 6000 single-pixel runs: three full batches.
    Owned bitmap =
        pictures::Make(120, 100, [](int x, int y) { return (x + y) % 2 ? 0xFF000000u : 0u; });
    zuvo::UniqueRegion region(program::Gdiplus_CreateRgnFromBitmap(bitmap.get(), 128));
    ASSERT_TRUE(region);
    EXPECT_EQ(CountMismatches(region.get(), bitmap.get(), 128), 0);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 120);
    EXPECT_EQ(box.bottom, 100);
}

TEST(Region, NoQualifyingPixelsGiveAnEmptyRegion) {
    Owned bitmap = pictures::Make(8, 8, [](int, int) { return 0x10FFFFFFu; });
    zuvo::UniqueRegion region(program::Gdiplus_CreateRgnFromBitmap(bitmap.get(), 0x11));
    ASSERT_TRUE(region) << "an empty region, not none";
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
    EXPECT_EQ(program::Gdiplus_CreateRgnFromBitmap(nullptr, 0), nullptr);
}

}  // namespace
