// Drawing bitmaps, rectangles and polygons on a caller's graphics surface.
#include <cstdint>

#include "ZUVO_Common.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"

using namespace zuvo::imaging;

namespace {

// The destination and the source (the whole bitmap when none is given) as boxes; false when
// either is empty or an argument is missing.
bool DrawBoxes(Gdiplus::Graphics* graphics, const RECT* destination, Gdiplus::Bitmap* bitmap,
               const RECT* source, Box* target, Box* sourceBox) noexcept {
    if (graphics == nullptr || bitmap == nullptr || destination == nullptr ||
        !BoxFromRect(ToZRect(*destination), target)) {
        return false;
    }
    if (source != nullptr) {
        return BoxFromRect(ToZRect(*source), sourceBox);
    }
    int width = 0;
    int height = 0;
    if (!BitmapSize(bitmap, &width, &height)) {
        return false;
    }
    *sourceBox = Box{0, 0, width, height};
    return true;
}

void DrawTiles(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* bitmap, const Box& source,
               const Box& target, const Gdiplus::ImageAttributes* attributes) noexcept {
    const TileGrid grid(source, target);
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int column = 0; column < grid.Columns(); ++column) {
            if (DrawPart(graphics, bitmap, grid.Tile(column, row), attributes) != Gdiplus::Ok) {
                return;
            }
        }
    }
}

}  // namespace

extern "C" {

void ZUVO_CALL Gdiplus_DrawBitmap(Gdiplus::Graphics* graphics, const RECT* destination,
                                  Gdiplus::Bitmap* bitmap, const RECT* source, int mode) noexcept {
    Box target;
    Box sourceBox;
    if (!DrawBoxes(graphics, destination, bitmap, source, &target, &sourceBox)) {
        return;
    }
    EdgeClamp clamp;
    Placement placement{sourceBox, target};
    switch (mode) {
        case DrawCropToFill:
            if (!CropToFill(sourceBox, target.width, target.height, &placement.source)) {
                return;
            }
            break;
        case DrawFit:
            if (!FitInside(sourceBox, target, &placement.target)) {
                return;
            }
            break;
        case DrawTile:
            DrawTiles(*graphics, bitmap, sourceBox, target, clamp.get());
            return;
        case DrawCentre:
            if (!CentreUnscaled(sourceBox, target, &placement)) {
                return;
            }
            break;
        default:
            break;
    }
    DrawPart(*graphics, bitmap, placement, clamp.get());
}

void ZUVO_CALL Gdiplus_DrawAlphaBitmap(Gdiplus::Graphics* graphics, const RECT* destination,
                                       Gdiplus::Bitmap* bitmap, const RECT* source, int stretch,
                                       int alpha) noexcept {
    Box target;
    Box sourceBox;
    if (!DrawBoxes(graphics, destination, bitmap, source, &target, &sourceBox)) {
        return;
    }
    Placement placement{sourceBox, target};
    if (stretch == 0 && !CentreTopLeftPart(sourceBox, target, &placement)) {
        return;
    }
    // Divided by 256, not 255: 255 leaves a trace of transparency, 128 halves exactly.
    Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0},
                                    {0, 1, 0, 0, 0},
                                    {0, 0, 1, 0, 0},
                                    {0, 0, 0, static_cast<float>(alpha & 0xFF) / 256.0f, 0},
                                    {0, 0, 0, 0, 1}}};
    EdgeClamp attributes;
    attributes.get()->SetColorMatrix(&matrix, Gdiplus::ColorMatrixFlagsDefault,
                                     Gdiplus::ColorAdjustTypeBitmap);
    DrawPart(*graphics, bitmap, placement, attributes.get());
}

void ZUVO_CALL Gdiplus_FillRect(Gdiplus::Graphics* graphics, const RECT* rect,
                                const Gdiplus::Brush* brush) noexcept {
    if (graphics == nullptr || rect == nullptr || brush == nullptr) {
        return;
    }
    graphics->FillRectangle(brush, static_cast<INT>(rect->left), static_cast<INT>(rect->top),
                            static_cast<INT>(static_cast<int64_t>(rect->right) - rect->left),
                            static_cast<INT>(static_cast<int64_t>(rect->bottom) - rect->top));
}

void ZUVO_CALL Gdiplus_FillPolygon(Gdiplus::Graphics* graphics, const Gdiplus::Point* points,
                                   int count, const Gdiplus::Brush* brush) noexcept {
    if (graphics == nullptr || points == nullptr || brush == nullptr) {
        return;
    }
    graphics->FillPolygon(brush, points, count, Gdiplus::FillModeAlternate);
}

void ZUVO_CALL Gdiplus_DrawRect(Gdiplus::Graphics* graphics, const RECT* rect, Gdiplus::ARGB colour,
                                float penWidth) noexcept {
    if (graphics == nullptr || rect == nullptr) {
        return;
    }
    Gdiplus::Pen pen(Gdiplus::Color(colour), penWidth);
    const float width =
        static_cast<float>(static_cast<int64_t>(rect->right) - rect->left) - penWidth;
    const float height =
        static_cast<float>(static_cast<int64_t>(rect->bottom) - rect->top) - penWidth;
    graphics->DrawRectangle(&pen, static_cast<float>(rect->left), static_cast<float>(rect->top),
                            width, height);
}

}  // extern "C"
