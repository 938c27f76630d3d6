// New bitmaps made from a bitmap: copies, other formats, stretched, resized, laid out and
// cut out. The source is only read.
#include "ZUVO_Common.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"

using namespace zuvo::imaging;

namespace {

// GDI+ cannot draw into indexed bitmaps; a copy in an indexed format is made by GDI+'s own
// conversion instead, which also carries the palette over.
bool IsIndexed(Gdiplus::PixelFormat format) {
    return (format & PixelFormatIndexed) != 0;
}

BitmapPtr ConvertedCopy(Gdiplus::Bitmap* source, Gdiplus::PixelFormat format) noexcept {
    if (!IsIndexed(format)) {
        return CopyInFormat(source, format);
    }
    int width = 0;
    int height = 0;
    if (!BitmapSize(source, &width, &height)) {
        return nullptr;
    }
    return BitmapPtr(source->Clone(Gdiplus::Rect(0, 0, width, height), format));
}

// The source box drawn into the whole of a new 32-bit ARGB bitmap of the given size. Edges
// are clamped: a part cut from inside a picture should not fade at its border.
BitmapPtr ScaledPart(Gdiplus::Bitmap* source, const Box& part, int width, int height) noexcept {
    const Placement placement{part, Box{0, 0, width, height}};
    return DrawnOnto(NewBitmap(width, height, PixelFormat32bppARGB),
                     [&](Gdiplus::Graphics& graphics) {
                         EdgeClamp clamp;
                         return DrawPart(graphics, source, placement, clamp.get()) == Gdiplus::Ok;
                     });
}

BitmapPtr Tiled(Gdiplus::Bitmap* source, const Box& sourceBox, int width, int height) noexcept {
    const TileGrid grid(sourceBox, Box{0, 0, width, height});
    return DrawnOnto(NewColourBitmap(width, height, 0), [&](Gdiplus::Graphics& graphics) {
        for (int row = 0; row < grid.Rows(); ++row) {
            for (int column = 0; column < grid.Columns(); ++column) {
                if (DrawPart(graphics, source, grid.Tile(column, row), nullptr) != Gdiplus::Ok) {
                    return false;
                }
            }
        }
        return true;
    });
}

BitmapPtr Centred(Gdiplus::Bitmap* source, const Box& sourceBox, int width, int height,
                  Gdiplus::ARGB background) noexcept {
    Placement placement;
    if (!CentreUnscaled(sourceBox, Box{0, 0, width, height}, &placement)) {
        return nullptr;
    }
    return DrawnOnto(NewColourBitmap(width, height, background), [&](Gdiplus::Graphics& graphics) {
        EdgeClamp clamp;
        return DrawPart(graphics, source, placement, clamp.get()) == Gdiplus::Ok;
    });
}

}  // namespace

extern "C" {

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_CopyBitmap(Gdiplus::Bitmap* source) noexcept {
    if (source == nullptr) {
        return nullptr;
    }
    return ConvertedCopy(source, source->GetPixelFormat()).release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_ModifyBitmapFormat(Gdiplus::Bitmap* source,
                                                      Gdiplus::PixelFormat format) noexcept {
    if (source == nullptr) {
        return nullptr;
    }
    return ConvertedCopy(source, format).release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_StretchBitmap(Gdiplus::Bitmap* source, int width,
                                                 int height) noexcept {
    int sourceWidth = 0;
    int sourceHeight = 0;
    if (source == nullptr || width < 1 || height < 1 ||
        !BitmapSize(source, &sourceWidth, &sourceHeight)) {
        return nullptr;
    }
    return ScaledPart(source, Box{0, 0, sourceWidth, sourceHeight}, width, height).release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_ResizeBitmap(Gdiplus::Bitmap* source, int width, int height,
                                                int mode, Gdiplus::ARGB background) noexcept {
    int sourceWidth = 0;
    int sourceHeight = 0;
    ResizePlan plan;
    if (source == nullptr || !BitmapSize(source, &sourceWidth, &sourceHeight) ||
        !PlanResize(sourceWidth, sourceHeight, width, height, mode, &plan)) {
        return nullptr;
    }
    // No edge clamping: the source rectangle reaches past the picture by the centring
    // offset, and there the background is meant to show, not mirrored pixels.
    const Placement placement{plan.source, Box{0, 0, plan.outputWidth, plan.outputHeight}};
    return DrawnOnto(NewColourBitmap(plan.outputWidth, plan.outputHeight, background),
                     [&](Gdiplus::Graphics& graphics) {
                         return DrawPart(graphics, source, placement, nullptr) == Gdiplus::Ok;
                     })
        .release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_DisposeBitmapByMode(Gdiplus::Bitmap* source, int width,
                                                       int height, int mode,
                                                       Gdiplus::ARGB background) noexcept {
    int sourceWidth = 0;
    int sourceHeight = 0;
    if (source == nullptr || width < 1 || height < 1 ||
        !BitmapSize(source, &sourceWidth, &sourceHeight)) {
        return nullptr;
    }
    const Box all{0, 0, sourceWidth, sourceHeight};
    switch (mode) {
        case DisposeCropToFill: {
            Box region;
            if (!CropToFill(all, width, height, &region)) {
                return nullptr;
            }
            return ScaledPart(source, region, width, height).release();
        }
        case DisposeFit:
            return Gdiplus_ResizeBitmap(source, width, height, ResizeFit, background);
        case DisposeTile:
            return Tiled(source, all, width, height).release();
        case DisposeCentre:
            return Centred(source, all, width, height, background).release();
        case DisposeStretch:
            return Gdiplus_StretchBitmap(source, width, height);
        default:
            return nullptr;
    }
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_GetBitmapFromBitmap(Gdiplus::Bitmap* source, int x, int y,
                                                       int width, int height,
                                                       const SIZE* outputSize) noexcept {
    const int outputWidth = outputSize != nullptr ? outputSize->cx : width;
    const int outputHeight = outputSize != nullptr ? outputSize->cy : height;
    if (source == nullptr || width < 1 || height < 1 || outputWidth < 1 || outputHeight < 1) {
        return nullptr;
    }
    return ScaledPart(source, Box{x, y, width, height}, outputWidth, outputHeight).release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_GetBitmapFromBitmapByRect(Gdiplus::Bitmap* source,
                                                             const RECT* rect,
                                                             const SIZE* outputSize) noexcept {
    Box region;
    if (rect == nullptr || !BoxFromRect(ToZRect(*rect), &region)) {
        return nullptr;
    }
    return Gdiplus_GetBitmapFromBitmap(source, region.x, region.y, region.width, region.height,
                                       outputSize);
}

}  // extern "C"
