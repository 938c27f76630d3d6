// Reading and changing pixels: Win32 bitmaps, raw buffers and alpha.
#include <cstdint>
#include <cstring>

#include "ZUVO_Common.h"
#include "framework/Handles.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"
#include "imaging/PixelOps.h"

using namespace zuvo::imaging;

namespace {

// The rectangle (or the whole bitmap when none is given) limited to the bitmap; false when
// nothing of it lies on the bitmap.
bool RectOnBitmap(Gdiplus::Bitmap* bitmap, const RECT* rect, Gdiplus::Rect* onBitmap) noexcept {
    int width = 0;
    int height = 0;
    if (!BitmapSize(bitmap, &width, &height)) {
        return false;
    }
    const ZRect bounds{0, 0, width, height};
    const ZRect wanted = rect != nullptr ? ToZRect(*rect) : bounds;
    ZRect limited{};
    BoundRect(&limited, &wanted, &bounds);
    if (limited.right <= limited.left || limited.bottom <= limited.top) {
        return false;
    }
    *onBitmap = Gdiplus::Rect(limited.left, limited.top, limited.right - limited.left,
                              limited.bottom - limited.top);
    return true;
}

int BitsPerPixel(Gdiplus::PixelFormat format) {
    return static_cast<int>((format >> 8) & 0xFF);
}

}  // namespace

extern "C" {

HBITMAP ZUVO_CALL Gdiplus_GetHBitmap(Gdiplus::Bitmap* bitmap, Gdiplus::ARGB background,
                                     int topDown) noexcept {
    int width = 0;
    int height = 0;
    if (bitmap == nullptr || !BitmapSize(bitmap, &width, &height)) {
        return nullptr;
    }
    // The Win32 bitmap takes the picture's depth where a DIB section can hold it directly;
    // every other depth (indexed, 16, 48 and 64 bits) becomes 32-bit rather than no bitmap.
    const int bits = BitsPerPixel(bitmap->GetPixelFormat()) == 24 ? 24 : 32;
    zuvo::UniqueBitmap result(CreateHBitmap(nullptr, width, topDown != 0 ? -height : height, bits));
    if (!result) {
        return nullptr;
    }
    {
        zuvo::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        if (!dc) {
            return nullptr;
        }
        zuvo::SelectGuard select(dc.get(), result.get());
        zuvo::UniqueBrush brush(CreateSolidBrush(
            RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF)));
        const RECT all{0, 0, width, height};
        FillRect(dc.get(), &all, brush.get());
        Gdiplus::Graphics graphics(dc.get());
        EdgeClamp clamp;
        const Box box{0, 0, width, height};
        if (DrawPart(graphics, bitmap, Placement{box, box}, clamp.get()) != Gdiplus::Ok) {
            return nullptr;
        }
    }
    return result.release();
}

int ZUVO_CALL Gdiplus_GetBitmapBuffer(Gdiplus::Bitmap* bitmap, const RECT* rect,
                                      Gdiplus::PixelFormat format, void* destination,
                                      int destinationStride) noexcept {
    Gdiplus::Rect area;
    if (bitmap == nullptr || rect == nullptr || destination == nullptr ||
        !RectOnBitmap(bitmap, rect, &area)) {
        return 0;
    }
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&area, Gdiplus::ImageLockModeRead, format, &data) != Gdiplus::Ok) {
        return 0;
    }
    const size_t rowBytes =
        (static_cast<size_t>(area.Width) * static_cast<size_t>(BitsPerPixel(format)) + 31) / 32 * 4;
    const auto* source = static_cast<const uint8_t*>(data.Scan0);
    auto* target = static_cast<uint8_t*>(destination);
    for (int y = 0; y < area.Height; ++y) {
        std::memcpy(target, source, rowBytes);
        source += data.Stride;
        target += destinationStride;
    }
    bitmap->UnlockBits(&data);
    return 1;
}

void ZUVO_CALL Gdiplus_SetBitmapAlpha(Gdiplus::Bitmap* bitmap, const RECT* rect, int alpha,
                                      int lowest, int highest) noexcept {
    Gdiplus::Rect area;
    if (bitmap == nullptr || !RectOnBitmap(bitmap, rect, &area)) {
        return;
    }
    // Only the rectangle is locked: pixels outside it never change.
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&area, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite,
                         PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return;
    }
    auto* row = static_cast<uint8_t*>(data.Scan0);
    for (int y = 0; y < area.Height; ++y, row += data.Stride) {
        ReplaceAlphaInRange(reinterpret_cast<uint32_t*>(row), area.Width,
                            static_cast<uint8_t>(alpha & 0xFF), lowest, highest);
    }
    bitmap->UnlockBits(&data);
}

}  // extern "C"
