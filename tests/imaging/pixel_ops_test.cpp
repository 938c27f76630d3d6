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

// A picture of rows for CollectAlphaRuns, rows as text like RunsOf's.
struct Rows {
    explicit Rows(const std::vector<std::string>& picture)
        : width(static_cast<int>(picture.front().size())),
          height(static_cast<int>(picture.size())) {
        for (const std::string& line : picture) {
            for (char c : line) {
                pixels.push_back(c == '#' ? 0xFF000000u : 0u);
            }
        }
    }
    const uint8_t* Data() const { return reinterpret_cast<const uint8_t*>(pixels.data()); }
    long long Stride() const { return width * 4LL; }
    int width;
    int height;
    std::vector<uint32_t> pixels;
};

TEST(CollectAlphaRuns, HandsOverEveryRunInBatchesAndTheRestAtTheEnd) {
    const Rows rows({"#.#.#", "#.#.#", "#.#.#"});
    ZRect storage[4];
    RectBatch batch(storage, 4);
    std::vector<std::vector<int>> batches;  // left, top of each rectangle, per flush
    const bool ok = CollectAlphaRuns(rows.Data(), rows.Stride(), rows.width, rows.height, 255,
                                     batch, [&](RectBatch& full) {
                                         batches.emplace_back();
                                         for (int i = 0; i < full.Count(); ++i) {
                                             batches.back().push_back(storage[i].left);
                                             batches.back().push_back(storage[i].top);
                                         }
                                         full.Clear();
                                         return true;
                                     });
    EXPECT_TRUE(ok);
    EXPECT_EQ(batches, (std::vector<std::vector<int>>{
                           {0, 0, 2, 0, 4, 0, 0, 1}, {2, 1, 4, 1, 0, 2, 2, 2}, {4, 2}}));
}

// A flush that fails must end the collection. The rectangles of the rest of the row must not
// be added after it, and never past the batch's storage: the guard entries stay untouched.
TEST(CollectAlphaRuns, AFailedFlushEndsTheCollectionWithinTheStorage) {
    struct Case {
        const char* name;
        bool clears;   // whether the failing flush empties the batch
        bool answers;  // what the flush answers
    };
    for (const Case& c :
         {Case{"fails and empties", true, false}, Case{"fails and keeps the batch", false, false},
          Case{"answers success but keeps the batch full", false, true}}) {
        SCOPED_TRACE(c.name);
        const Rows rows({"#.#.#.#.#.#.#", "#.#.#.#.#.#.#"});  // 7 runs per row
        constexpr int kCapacity = 2;
        constexpr int kGuard = 16;
        ZRect storage[kCapacity + kGuard];
        for (ZRect& r : storage) {
            r = ZRect{-7, -7, -7, -7};
        }
        RectBatch batch(storage, kCapacity);
        int flushes = 0;
        const bool ok = CollectAlphaRuns(rows.Data(), rows.Stride(), rows.width, rows.height, 255,
                                         batch, [&](RectBatch& full) {
                                             ++flushes;
                                             if (c.clears) {
                                                 full.Clear();
                                             }
                                             return c.answers;
                                         });
        EXPECT_FALSE(ok);
        EXPECT_EQ(flushes, 1) << "no flush after the first failure";
        for (int i = kCapacity; i < kCapacity + kGuard; ++i) {
            EXPECT_EQ(storage[i].left, -7) << "written past the batch at " << i;
        }
    }
}

TEST(RectBatch, AFullBatchRefusesMore) {
    ZRect storage[2] = {};
    RectBatch batch(storage, 1);
    EXPECT_TRUE(batch.Add(1, 1, 2, 2));
    EXPECT_FALSE(batch.Add(3, 3, 4, 4));
    EXPECT_EQ(batch.Count(), 1);
    EXPECT_EQ(batch.Bounds().right, 2) << "a refused rectangle does not widen the bounds";
    EXPECT_EQ(storage[1].left, 0);
}

}  // namespace
}  // namespace zuvo::imaging
