// What the skinned controls share for drawing: owned GDI+ pictures, pictures from the
// program's PNG resources, stretched picture drawing, their font and an off-screen canvas
// that is copied to the screen in one step.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

#include "framework/Handles.h"

namespace zuvo::controls {

struct PictureDelete {
    void operator()(Gdiplus::Bitmap* picture) const noexcept;
};
// A picture made by the image helpers, released with Gdiplus_DeleteBitmap.
using PicturePtr = std::unique_ptr<Gdiplus::Bitmap, PictureDelete>;

// A copy of the picture (Gdiplus_CopyBitmap); null for none.
PicturePtr CopyPicture(Gdiplus::Bitmap* picture);
// The PNG resource of the program with the id, in the interface language; null for an id
// of 0 or below, a missing resource or one that does not decode.
PicturePtr LoadPngPicture(int resourceId);

// Draws the whole picture stretched over the rectangle, its edges clamped (no fading into
// the border colour).
void DrawPictureStretched(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* picture, const RECT& rect);

// Vertical dots per inch of the screen.
int ScreenDotsPerInchY();
// The controls' font "黑体" (SimHei) of the size in points; weight 0 takes the default.
UniqueFont CreateControlFont(int points, int weight);

// A bitmap compatible with a target device context, with a memory device context selected
// on it: drawn off-screen, then copied to the target in one step.
class OffscreenCanvas {
public:
    OffscreenCanvas(HDC target, int width, int height);
    OffscreenCanvas(const OffscreenCanvas&) = delete;
    OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
    ~OffscreenCanvas();

    // False when the bitmap or the device context could not be made.
    explicit operator bool() const { return m_selected != nullptr; }
    HDC dc() const { return m_dc.get(); }
    void CopyTo(HDC target, int x, int y) const;

private:
    int m_width;
    int m_height;
    UniqueMemoryDc m_dc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_selected = nullptr;  // the device context's bitmap before ours
};

}  // namespace zuvo::controls
