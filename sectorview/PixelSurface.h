// A GDI+ drawing surface over 32-bit ARGB pixel memory owned by someone else (a DIB section or
// an image), so that GDI+ composes with the pixels' alpha exactly as the view's own blends do.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>

namespace zuvo::sector {

class PixelSurface {
public:
    PixelSurface(uint32_t* pixels, int width, int height)
        : m_bitmap(width, height, width * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels)),
          m_graphics(&m_bitmap) {}
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    // False when GDI+ is not started or refused the memory; nothing is drawn then.
    bool Ready() const {
        return m_bitmap.GetLastStatus() == Gdiplus::Ok && m_graphics.GetLastStatus() == Gdiplus::Ok;
    }
    Gdiplus::Graphics& Graphics() { return m_graphics; }

private:
    Gdiplus::Bitmap m_bitmap;
    Gdiplus::Graphics m_graphics;
};

}  // namespace zuvo::sector
