// Where pictures go: the integer geometry of resizing, cropping, fitting, tiling and centring
// a picture of one size into another. Portable: no Windows types, so it is tested natively.
//
// Every function answers false (or an empty plan) instead of a layout when a size is not
// positive or a result would not fit a 32-bit int, so callers never divide by zero or
// convert an out-of-range double.
#pragma once

#include "ZUVO_CommonCore.h"

namespace zuvo::imaging {

// A rectangle as position and size.
struct Box {
    int x;
    int y;
    int width;
    int height;

    bool operator==(const Box&) const = default;
};

// A part of a picture and where it is drawn.
struct Placement {
    Box source;
    Box target;

    bool operator==(const Placement&) const = default;
};

// Modes of Gdiplus_ResizeBitmap.
enum ResizeMode {
    ResizeStretch = 0,   // w x h, both axes scaled on their own
    ResizeFit = 1,       // the smaller scale: the picture fits inside w x h
    ResizeFill = 2,      // the larger scale: the picture covers w x h
    ResizeByWidth = 3,   // scaled to the width
    ResizeByHeight = 4,  // scaled to the height
};

// Modes of Gdiplus_DisposeBitmapByMode.
enum DisposeMode {
    DisposeCropToFill = 0,
    DisposeFit = 1,
    DisposeTile = 2,
    DisposeCentre = 3,
    DisposeStretch = 4,
};

// Modes of Gdiplus_DrawBitmap; any other value stretches.
enum DrawMode {
    DrawCropToFill = 0,
    DrawFit = 1,
    DrawTile = 2,
    DrawCentre = 3,
};

// A Win32-style rectangle (right and bottom exclusive) as a box; false when it is empty or
// its size does not fit an int.
bool BoxFromRect(const ZRect& rect, Box* box);

// The result of a resize: the new picture's size and the source rectangle drawn into all
// of it.
struct ResizePlan {
    int outputWidth;
    int outputHeight;
    Box source;
};

// Resizing a W x H picture towards w x h in one of the ResizeMode modes.
bool PlanResize(int sourceWidth, int sourceHeight, int width, int height, int mode,
                ResizePlan* plan);

// The centred part of source with the aspect ratio of a targetWidth x targetHeight box,
// as large as the source allows: scaled into the box it fills it without distortion.
bool CropToFill(const Box& source, int targetWidth, int targetHeight, Box* region);

// The largest box with the source's aspect ratio inside target, centred.
bool FitInside(const Box& source, const Box& target, Box* fitted);

// The source drawn unscaled and centred in target: where the source is larger, its middle
// part is shown; where smaller, it sits in the middle of the target.
bool CentreUnscaled(const Box& source, const Box& target, Placement* placement);

// The source's top-left part that fits target, unscaled, centred in target.
bool CentreTopLeftPart(const Box& source, const Box& target, Placement* placement);

// Tiles of the source's top-left corner covering target, unscaled; the last column and row
// are cut to what is left of the target. No tiles when either box is empty.
class TileGrid {
public:
    TileGrid(const Box& source, const Box& target);

    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }
    Placement Tile(int column, int row) const;

private:
    Box m_source;
    Box m_target;
    int m_columns;
    int m_rows;
};

}  // namespace zuvo::imaging
