// Grey conversion, alpha replacement and the opaque runs regions are made of, on raw rows.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/PixelOps.h"

namespace zuvo::imaging {
namespace {

TEST(Grey, WeighsRedGreenAndBlue) {
    EXPECT_EQ(GreyOf(255, 0, 0), 76);
    EXPECT_EQ(GreyOf(0, 255, 0), 149);
    EXPECT_EQ(GreyOf(0, 0, 255), 28);
    EXPECT_EQ(GreyOf(255, 255, 255), 255);
    EXPECT_EQ(GreyOf(0, 0, 0), 0);
    EXPECT_EQ(GreyOf(128, 128, 128), 128);
    EXPECT_EQ(GreyOf(10, 200, 30), (10 * 77 + 200 * 150 + 30 * 29) >> 8);
}

TEST(Grey, Rows32KeepAlpha) {
    const std::vector<uint32_t> source = {0x80FF0000, 0x0000FF00, 0xFF0000FF, 0x12FFFFFF};
    std::vector<uint32_t> target(source.size(), 0xDEADBEEF);
    GreyRow32(source.data(), target.data(), static_cast<int>(source.size()));
    EXPECT_EQ(target, (std::vector<uint32_t>{0x804C4C4C, 0x00959595, 0xFF1C1C1C, 0x12FFFFFF}));
    // In place.
    std::vector<uint32_t> row = source;
    GreyRow32(row.data(), row.data(), 2);
    EXPECT_EQ(row, (std::vector<uint32_t>{0x804C4C4C, 0x00959595, 0xFF0000FF, 0x12FFFFFF}));
    EXPECT_EQ(GreyArgb(0xAB00FF00), 0xAB959595u);
}

TEST(Grey, Rows24WriteAllThreeBytes) {
    // B, G, R per pixel.
    const std::vector<uint8_t> source = {0, 0, 255, 0, 255, 0, 255, 0, 0, 7, 7, 7};
    std::vector<uint8_t> target(source.size() + 1, 0xEE);
    GreyRow24(source.data(), target.data(), 4);
    EXPECT_EQ(target, (std::vector<uint8_t>{76, 76, 76, 149, 149, 149, 28, 28, 28, 7, 7, 7, 0xEE}))
        << "the byte after the row stays";
}

TEST(ReplaceAlpha, ChangesOnlyPixelsInTheRange) {
    std::vector<uint32_t> row = {0x00123456, 0x01123456, 0x7F000000, 0x80ABCDEF, 0xFFFFFFFF};
    ReplaceAlphaInRange(row.data(), static_cast<int>(row.size()), 0x80, 0, 0);
    EXPECT_EQ(row,
              (std::vector<uint32_t>{0x80123456, 0x01123456, 0x7F000000, 0x80ABCDEF, 0xFFFFFFFF}))
        << "only fully transparent pixels take the new alpha";

    ReplaceAlphaInRange(row.data(), static_cast<int>(row.size()), 0x40, 0x01, 0x80);
    EXPECT_EQ(row,
              (std::vector<uint32_t>{0x40123456, 0x40123456, 0x40000000, 0x40ABCDEF, 0xFFFFFFFF}))
        << "both ends of the range count";

    ReplaceAlphaInRange(row.data(), 2, 0x00, 0, 255);
    EXPECT_EQ(row[0], 0x00123456u);
    EXPECT_EQ(row[1], 0x00123456u);
    EXPECT_EQ(row[2], 0x40000000u) << "pixels past width stay";

    ReplaceAlphaInRange(row.data(), static_cast<int>(row.size()), 0x11, 200, 100);
    EXPECT_EQ(row[4], 0xFFFFFFFFu) << "an empty range changes nothing";
}

// Runs of a row described as text: '#' alpha 255, '+' alpha 128, '.' alpha 0.
std::vector<std::pair<int, int>> RunsOf(const std::string& picture, int threshold) {
    std::vector<uint32_t> row;
    for (char c : picture) {
        row.push_back(c == '#' ? 0xFF102030u : c == '+' ? 0x80102030u : 0x00102030u);
    }
    std::vector<std::pair<int, int>> runs;
    ForEachAlphaRun(row.data(), static_cast<int>(row.size()), threshold,
                    [&](int start, int end) { runs.emplace_back(start, end); });
    return runs;
}

using Runs = std::vector<std::pair<int, int>>;

TEST(AlphaRuns, FindEveryRunAtOrAboveTheThreshold) {
    EXPECT_EQ(RunsOf("..##.+#.", 255), (Runs{{2, 4}, {6, 7}}));
    EXPECT_EQ(RunsOf("..##.+#.", 128), (Runs{{2, 4}, {5, 7}}));
    EXPECT_EQ(RunsOf("..##.+#.", 129), (Runs{{2, 4}, {6, 7}}));
    EXPECT_EQ(RunsOf("..##.+#.", 0), (Runs{{0, 8}})) << "threshold 0 takes every pixel";
    EXPECT_EQ(RunsOf("##", 256), Runs{});
    EXPECT_EQ(RunsOf("#..#", 1), (Runs{{0, 1}, {3, 4}})) << "runs at both ends";
    EXPECT_EQ(RunsOf("", 0), Runs{});
}

TEST(RectBatch, CollectsRectanglesAndTheirBounds) {
    ZRect storage[3];
    RectBatch batch(storage, 3);
    EXPECT_EQ(batch.Count(), 0);
    batch.Add(5, 2, 9, 3);
    batch.Add(1, 4, 3, 5);
    EXPECT_FALSE(batch.Full());
    EXPECT_EQ(batch.Count(), 2);
    EXPECT_EQ(batch.Bounds().left, 1);
    EXPECT_EQ(batch.Bounds().top, 2);
    EXPECT_EQ(batch.Bounds().right, 9);
    EXPECT_EQ(batch.Bounds().bottom, 5);
    EXPECT_EQ(storage[1].left, 1);
    EXPECT_EQ(storage[1].bottom, 5);
    batch.Add(0, 0, 1, 1);
    EXPECT_TRUE(batch.Full());

    batch.Clear();
    EXPECT_EQ(batch.Count(), 0);
    batch.Add(7, 7, 8, 8);
    EXPECT_EQ(batch.Bounds().left, 7) << "bounds start over after Clear";
    EXPECT_EQ(batch.Bounds().right, 8);
}

}  // namespace
}  // namespace zuvo::imaging
