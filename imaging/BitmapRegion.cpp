// Win32 regions made of a bitmap's opaque pixels.
#include <cstdint>
#include <memory>
#include <new>

#include "framework/Handles.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"
#include "imaging/PixelOps.h"

using namespace zuvo::imaging;

namespace {

// Regions are built from batches of at most this many rectangles: one region per run would
// be far slower, and very large region data is refused by some systems.
constexpr int kBatchRectangles = 2000;

// A region-data block: the header followed by room for one batch of rectangles.
class RegionBatch {
public:
    RegionBatch() noexcept
        : m_block(new (
              std::nothrow) unsigned char[sizeof(RGNDATAHEADER) + kBatchRectangles * sizeof(RECT)]),
          m_rects(
              m_block ? reinterpret_cast<ZRect*>(m_block.get() + sizeof(RGNDATAHEADER)) : nullptr,
              kBatchRectangles) {}

    bool Valid() const { return m_block != nullptr; }
    RectBatch& Rects() { return m_rects; }

    // Makes a region of the collected rectangles, combines it into result (the first one
    // becomes the result) and empties the batch. False when a region could not be made.
    bool FlushInto(zuvo::UniqueRegion& result) noexcept {
        if (m_rects.Count() == 0) {
            return true;
        }
        auto* data = reinterpret_cast<RGNDATA*>(m_block.get());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(m_rects.Count());
        data->rdh.nRgnSize = static_cast<DWORD>(m_rects.Count() * sizeof(RECT));
        const ZRect& bounds = m_rects.Bounds();
        data->rdh.rcBound = RECT{bounds.left, bounds.top, bounds.right, bounds.bottom};
        const DWORD bytes = static_cast<DWORD>(sizeof(RGNDATAHEADER) + data->rdh.nRgnSize);
        zuvo::UniqueRegion part(ExtCreateRegion(nullptr, bytes, data));
        m_rects.Clear();
        if (!part) {
            return false;
        }
        if (!result) {
            result = std::move(part);
            return true;
        }
        return CombineRgn(result.get(), result.get(), part.get(), RGN_OR) != ERROR;
    }

private:
    std::unique_ptr<unsigned char[]> m_block;
    RectBatch m_rects;
};

}  // namespace

extern "C" {

HRGN ZUVO_CALL Gdiplus_CreateRgnFromBitmap(Gdiplus::Bitmap* bitmap, int threshold) noexcept {
    int width = 0;
    int height = 0;
    if (bitmap == nullptr || !BitmapSize(bitmap, &width, &height)) {
        return nullptr;
    }
    RegionBatch batch;
    if (!batch.Valid()) {
        return nullptr;
    }
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
        return nullptr;
    }
    zuvo::UniqueRegion result;
    bool made = true;
    const auto* row = static_cast<const uint8_t*>(data.Scan0);
    for (int y = 0; y < height && made; ++y, row += data.Stride) {
        ForEachAlphaRun(reinterpret_cast<const uint32_t*>(row), width, threshold,
                        [&](int start, int end) {
                            batch.Rects().Add(start, y, end, y + 1);
                            if (batch.Rects().Full()) {
                                made = made && batch.FlushInto(result);
                            }
                        });
    }
    made = made && batch.FlushInto(result);
    bitmap->UnlockBits(&data);
    if (!made) {
        return nullptr;
    }
    if (!result) {
        result.reset(CreateRectRgn(0, 0, 0, 0));
    }
    return result.release();
}

}  // extern "C"
