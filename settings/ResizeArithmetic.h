// The arithmetic of the proportional re-layout: factors from the recorded and the new size,
// and rectangles and font sizes scaled by them (conversions truncate towards zero).
#pragma once

namespace zuvo::settings {

struct ResizeFactors {
    double horizontal = 1.0;
    double vertical = 1.0;
    double smaller = 1.0;  // sizes the fonts
};

struct ScaledRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Factors from the recorded client size to the new one; both recorded sizes must be positive
// (answers false otherwise and leaves the factors at 1).
bool ComputeResizeFactors(int recordedWidth, int recordedHeight, int newWidth, int newHeight,
                          ResizeFactors* factors);

// Position and size of a rectangle captured at (left, top, right, bottom): each corner scaled
// and truncated, so neighbouring controls stay edge to edge.
ScaledRect ScaleRect(int left, int top, int right, int bottom, const ResizeFactors& factors);

// A font height or width scaled by the smaller factor.
int ScaleFontDimension(int value, const ResizeFactors& factors);

}  // namespace zuvo::settings
