#include "controls/ShapeRegion.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ZUVO_Common.h"
#include "controls/ShapeRuns.h"

namespace zuvo::controls {

namespace {

constexpr size_t kRectanglesPerBatch = 2000;

// The bitmap's pixels as 32-bit rows from the top.
bool ReadPixels(HBITMAP bitmap, std::vector<uint32_t>* pixels, int* width, int* height) {
    BITMAP header{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(header), &header) == 0 ||
        header.bmWidth <= 0 || header.bmHeight == 0) {
        return false;
    }
    *width = header.bmWidth;
    *height = header.bmHeight < 0 ? -header.bmHeight : header.bmHeight;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) {
        return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels->assign(static_cast<size_t>(*width) * static_cast<size_t>(*height), 0);
    return GetDIBits(dc.get(), bitmap, 0, static_cast<UINT>(*height), pixels->data(), &info,
                     DIB_RGB_COLORS) == *height;
}

UniqueRegion RegionOfBatch(const ZRect* rects, size_t count) {
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(count);
    header->nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bounds{rects[0].left, rects[0].top, rects[0].right, rects[0].bottom};
    for (size_t index = 0; index < count; ++index) {
        bounds.left = std::min<LONG>(bounds.left, rects[index].left);
        bounds.top = std::min<LONG>(bounds.top, rects[index].top);
        bounds.right = std::max<LONG>(bounds.right, rects[index].right);
        bounds.bottom = std::max<LONG>(bounds.bottom, rects[index].bottom);
    }
    header->rcBound = bounds;
    std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects, count * sizeof(RECT));
    return UniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                        reinterpret_cast<const RGNDATA*>(data.data())));
}

}  // namespace

UniqueRegion RegionFromKeyedBitmap(HBITMAP bitmap) {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    if (!ReadPixels(bitmap, &pixels, &width, &height)) {
        return UniqueRegion();
    }
    const std::vector<ZRect> runs = ShapeRuns(pixels.data(), width, height, width);
    UniqueRegion result(CreateRectRgn(0, 0, 0, 0));
    for (size_t start = 0; start < runs.size() && result; start += kRectanglesPerBatch) {
        const size_t count = std::min(kRectanglesPerBatch, runs.size() - start);
        UniqueRegion batch = RegionOfBatch(runs.data() + start, count);
        if (!batch) {
            return UniqueRegion();
        }
        CombineRgn(result.get(), result.get(), batch.get(), RGN_OR);
    }
    return result;
}

}  // namespace zuvo::controls
