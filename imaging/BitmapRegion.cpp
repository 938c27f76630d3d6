// Win32 regions made of a bitmap's opaque pixels.
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "framework/Handles.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"
#include "imaging/PairwiseUnion.h"
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

    // Makes a region of the collected rectangles, hands it to regions and empties the batch.
    // False when a region could not be made.
    template <typename Union>
    bool FlushInto(Union& regions) noexcept {
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
        return part && regions.Add(std::move(part));
    }

private:
    std::unique_ptr<unsigned char[]> m_block;
    RectBatch m_rects;
};

// The union of two regions, made in the first.
std::optional<zuvo::UniqueRegion> Unite(zuvo::UniqueRegion first,
                                        zuvo::UniqueRegion second) noexcept {
    if (CombineRgn(first.get(), first.get(), second.get(), RGN_OR) == ERROR) {
        return std::nullopt;
    }
    return std::optional<zuvo::UniqueRegion>(std::move(first));
}

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
    PairwiseUnion<zuvo::UniqueRegion, decltype(&Unite)> regions(&Unite);
    const bool made = CollectAlphaRuns(static_cast<const uint8_t*>(data.Scan0), data.Stride, width,
                                       height, threshold, batch.Rects(),
                                       [&](RectBatch&) { return batch.FlushInto(regions); });
    bitmap->UnlockBits(&data);
    if (!made) {
        return nullptr;
    }
    if (regions.Empty()) {
        // No qualifying pixel: an empty region rather than none.
        return CreateRectRgn(0, 0, 0, 0);
    }
    std::optional<zuvo::UniqueRegion> result = regions.Take();
    return result ? result->release() : nullptr;
}

}  // extern "C"
