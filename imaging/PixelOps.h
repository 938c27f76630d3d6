// Pixel work of the picture helpers on raw rows: grey conversion, alpha replacement and
// finding the runs of opaque pixels a region is made of. Portable: rows are plain memory,
// 32-bit pixels are ARGB (0xAARRGGBB, bytes B, G, R, A in memory), 24-bit pixels are bytes
// B, G, R.
#pragma once

#include <cstdint>

#include "ZUVO_CommonCore.h"

namespace zuvo::imaging {

// Luminance with integer weights 77, 150 and 29 (out of 256).
constexpr uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>((red * 77 + green * 150 + blue * 29) >> 8);
}

// width pixels of 3 bytes (B, G, R) from source, grey, into target. source and target may
// be the same row.
void GreyRow24(const uint8_t* source, uint8_t* target, int width);

// width ARGB pixels from source, grey with their alpha kept, into target (may be the same).
void GreyRow32(const uint32_t* source, uint32_t* target, int width);

// One ARGB pixel grey, alpha kept.
constexpr uint32_t GreyArgb(uint32_t argb) {
    const uint32_t grey = GreyOf(static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                 static_cast<uint8_t>(argb));
    return (argb & 0xFF000000u) | (grey << 16) | (grey << 8) | grey;
}

// Gives every pixel of the row whose alpha lies in lowest..highest (both included) the
// alpha newAlpha; red, green and blue stay.
void ReplaceAlphaInRange(uint32_t* row, int width, uint8_t newAlpha, int lowest, int highest);

// The rectangles of a region collected in batches: each Add appends a one-row rectangle
// and widens the batch's bounding rectangle. The storage belongs to the caller (the
// rectangle part of a region-data block).
class RectBatch {
public:
    RectBatch(ZRect* storage, int capacity);

    // Answers false, and adds nothing, when the batch is full: the storage ends there.
    bool Add(int left, int top, int right, int bottom);
    bool Full() const { return m_count == m_capacity; }
    int Count() const { return m_count; }
    const ZRect& Bounds() const { return m_bounds; }
    // Empties the batch and resets the bounding rectangle.
    void Clear();

private:
    ZRect* m_storage;
    int m_capacity;
    int m_count;
    ZRect m_bounds;
};

// Calls emit(x0, x1) for every run of consecutive pixels in the row, left to right, whose
// alpha is at least threshold (pixels x0 .. x1 - 1).
template <typename Emit>
void ForEachAlphaRun(const uint32_t* row, int width, int threshold, Emit emit) {
    int x = 0;
    while (x < width) {
        while (x < width && static_cast<int>(row[x] >> 24) < threshold) {
            ++x;
        }
        if (x == width) {
            return;
        }
        const int start = x;
        while (x < width && static_cast<int>(row[x] >> 24) >= threshold) {
            ++x;
        }
        emit(start, x);
    }
}

// Collects the runs of alpha at least threshold of every row (height rows of width ARGB pixels,
// stride bytes apart, from the top) as one-row rectangles into batch. flush(batch) is called
// whenever the batch is full and once at the end; it must empty the batch and answers false
// when it could not use the rectangles. The first failed flush ends the collection: nothing
// is added after it, and the answer is false.
template <typename Flush>
bool CollectAlphaRuns(const uint8_t* rows, long long stride, int width, int height, int threshold,
                      RectBatch& batch, Flush flush) {
    bool ok = true;
    const uint8_t* row = rows;
    for (int y = 0; y < height && ok; ++y, row += stride) {
        ForEachAlphaRun(reinterpret_cast<const uint32_t*>(row), width, threshold,
                        [&](int start, int end) {
                            if (!ok) {
                                return;  // the rest of a row after a failed flush
                            }
                            if (!batch.Add(start, y, end, y + 1)) {
                                ok = false;  // a flush that left the batch full
                                return;
                            }
                            if (batch.Full()) {
                                ok = flush(batch);
                            }
                        });
    }
    return ok && flush(batch);
}

}  // namespace zuvo::imaging
