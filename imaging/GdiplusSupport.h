// What the exported picture helpers share: GDI+ objects made with the GDI+ allocator and
// owned by std::unique_ptr, the edge-clamping draw, sizes and narrow-text conversion.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>
#include <new>
#include <utility>

#include "imaging/ImageLayout.h"

namespace zuvo::imaging {

// Wrapper objects live in memory of GdipAlloc, as their own operator new would put them,
// so that callers may release them with delete (GdipFree) - but without assuming the
// allocation succeeds.
template <typename T, typename... Args>
T* NewGdiplusObject(Args&&... args) noexcept {
    void* memory = Gdiplus::DllExports::GdipAlloc(sizeof(T));
    if (memory == nullptr) {
        return nullptr;
    }
    return ::new (memory) T(std::forward<Args>(args)...);
}

// The utility library's portable rectangle from the Win32 one (the same four fields).
inline ZRect ToZRect(const RECT& rect) {
    return ZRect{rect.left, rect.top, rect.right, rect.bottom};
}

using BitmapPtr = std::unique_ptr<Gdiplus::Bitmap>;
using GraphicsPtr = std::unique_ptr<Gdiplus::Graphics>;

// Hands a new bitmap to the caller when it was made and its last status is Ok; otherwise
// deletes it and answers null.
Gdiplus::Bitmap* HandOver(BitmapPtr bitmap) noexcept;

// A new, empty bitmap; null when GDI+ refused it.
BitmapPtr NewBitmap(int width, int height, Gdiplus::PixelFormat format) noexcept;
// A new 32-bit ARGB bitmap with every pixel set to colour; null on failure.
BitmapPtr NewColourBitmap(int width, int height, Gdiplus::ARGB colour) noexcept;
// A graphics surface on the bitmap; null when GDI+ cannot draw on it (indexed formats).
GraphicsPtr SurfaceOn(Gdiplus::Bitmap* bitmap) noexcept;

// The bitmap's size; false (with the status stored in the bitmap) when GDI+ cannot tell or
// the bitmap is empty.
bool BitmapSize(Gdiplus::Bitmap* bitmap, int* width, int* height) noexcept;

// Image attributes that clamp at the picture's edges: the wrap mode tile-flip-XY makes the
// pixels outside the source rectangle mirror the border pixels, so scaling does not blend
// the border with transparent black and fade it.
class EdgeClamp {
public:
    EdgeClamp() noexcept;
    const Gdiplus::ImageAttributes* get() const noexcept { return &m_attributes; }
    Gdiplus::ImageAttributes* get() noexcept { return &m_attributes; }

private:
    Gdiplus::ImageAttributes m_attributes;
};

// Draws the source box of the bitmap into the target box in pixel units; the status is
// stored in the graphics object.
Gdiplus::Status DrawPart(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* bitmap,
                         const Placement& placement,
                         const Gdiplus::ImageAttributes* attributes) noexcept;

// Runs draw(graphics) on a surface over target, a new bitmap, and hands target back; null when
// there is no target or surface, or draw answers false.
template <typename Draw>
BitmapPtr DrawnOnto(BitmapPtr target, Draw draw) noexcept {
    if (!target) {
        return nullptr;
    }
    GraphicsPtr graphics = SurfaceOn(target.get());
    if (!graphics || !draw(*graphics)) {
        return nullptr;
    }
    return target;
}

// The whole source drawn 1:1 at (0, 0) of a new bitmap of its size in the format, with edge
// clamping; null when the drawing could not be made.
BitmapPtr CopyInFormat(Gdiplus::Bitmap* source, Gdiplus::PixelFormat format) noexcept;

// Convert zero-terminated text between the ANSI code page and wide text into out (capacity
// characters including the terminating zero), by the path rule of the text codec: false when
// it does not convert exactly or does not fit.
bool AnsiToWide(const char* text, wchar_t* out, int capacity) noexcept;
bool WideToAnsi(const wchar_t* text, char* out, int capacity) noexcept;

}  // namespace zuvo::imaging
