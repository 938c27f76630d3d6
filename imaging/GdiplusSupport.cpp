#include "imaging/GdiplusSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "text/CodePage.h"

namespace zuvo::imaging {

Gdiplus::Bitmap* HandOver(BitmapPtr bitmap) noexcept {
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return bitmap.release();
}

BitmapPtr NewBitmap(int width, int height, Gdiplus::PixelFormat format) noexcept {
    BitmapPtr bitmap(NewGdiplusObject<Gdiplus::Bitmap>(width, height, format));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return bitmap;
}

BitmapPtr NewColourBitmap(int width, int height, Gdiplus::ARGB colour) noexcept {
    BitmapPtr bitmap = NewBitmap(width, height, PixelFormat32bppARGB);
    if (!bitmap) {
        return nullptr;
    }
    // Written directly rather than drawn: a fill through a graphics surface would blend a
    // translucent colour with the transparent black a new bitmap starts with.
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
        return nullptr;
    }
    auto* row = static_cast<uint8_t*>(data.Scan0);
    for (int y = 0; y < height; ++y, row += data.Stride) {
        auto* pixels = reinterpret_cast<uint32_t*>(row);
        for (int x = 0; x < width; ++x) {
            pixels[x] = colour;
        }
    }
    if (bitmap->UnlockBits(&data) != Gdiplus::Ok) {
        return nullptr;
    }
    return bitmap;
}

GraphicsPtr SurfaceOn(Gdiplus::Bitmap* bitmap) noexcept {
    GraphicsPtr graphics(NewGdiplusObject<Gdiplus::Graphics>(bitmap));
    if (!graphics || graphics->GetLastStatus() != Gdiplus::Ok) {
        return nullptr;
    }
    return graphics;
}

bool BitmapSize(Gdiplus::Bitmap* bitmap, int* width, int* height) noexcept {
    const UINT w = bitmap->GetWidth();
    const UINT h = bitmap->GetHeight();
    if (w == 0 || h == 0 || w > INT32_MAX || h > INT32_MAX) {
        return false;
    }
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
}

EdgeClamp::EdgeClamp() noexcept {
    m_attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY, Gdiplus::Color(0xFF000000));
}

Gdiplus::Status DrawPart(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* bitmap,
                         const Placement& placement,
                         const Gdiplus::ImageAttributes* attributes) noexcept {
    const Box& target = placement.target;
    const Box& source = placement.source;
    return graphics.DrawImage(
        bitmap, Gdiplus::Rect(target.x, target.y, target.width, target.height), source.x, source.y,
        source.width, source.height, Gdiplus::UnitPixel, attributes);
}

BitmapPtr CopyInFormat(Gdiplus::Bitmap* source, Gdiplus::PixelFormat format) noexcept {
    int width = 0;
    int height = 0;
    if (!BitmapSize(source, &width, &height)) {
        return nullptr;
    }
    const Box all{0, 0, width, height};
    return DrawnOnto(NewBitmap(width, height, format), [&](Gdiplus::Graphics& graphics) {
        EdgeClamp clamp;
        return DrawPart(graphics, source, Placement{all, all}, clamp.get()) == Gdiplus::Ok;
    });
}

namespace {

// Copies the converted text and its terminator into out when they fit.
template <typename Char>
bool CopyWhole(const std::basic_string<Char>& text, Char* out, int capacity) {
    if (text.size() >= static_cast<size_t>(capacity)) {
        return false;
    }
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = Char();
    return true;
}

}  // namespace

bool AnsiToWide(const char* text, wchar_t* out, int capacity) noexcept {
    if (text == nullptr || out == nullptr || capacity < 1) {
        return false;
    }
    try {
        std::wstring wide;
        return zuvo::text::PathToWide(text, wide) && CopyWhole(wide, out, capacity);
    } catch (...) {
        return false;
    }
}

bool WideToAnsi(const wchar_t* text, char* out, int capacity) noexcept {
    if (text == nullptr || out == nullptr || capacity < 1) {
        return false;
    }
    try {
        std::string narrow;
        return zuvo::text::PathToNarrow(text, narrow) && CopyWhole(narrow, out, capacity);
    } catch (...) {
        return false;
    }
}

}  // namespace zuvo::imaging
