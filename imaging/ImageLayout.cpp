#include "imaging/ImageLayout.h"

#include <algorithm>
#include <cstdint>

namespace zuvo::imaging {

namespace {

// Largest double whose truncation still fits an int.
constexpr double kIntLimit = 2147483647.0;

bool HasArea(const Box& box) {
    return box.width > 0 && box.height > 0;
}

// (int)value, or false when value is not a number or out of int range.
bool Truncate(double value, int* result) {
    if (!(value >= 0.0 && value <= kIntLimit)) {
        return false;
    }
    *result = static_cast<int>(value);
    return true;
}

}  // namespace

bool BoxFromRect(const ZRect& rect, Box* box) {
    const int64_t width = static_cast<int64_t>(rect.right) - rect.left;
    const int64_t height = static_cast<int64_t>(rect.bottom) - rect.top;
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) {
        return false;
    }
    *box = Box{rect.left, rect.top, static_cast<int>(width), static_cast<int>(height)};
    return true;
}

bool PlanResize(int sourceWidth, int sourceHeight, int width, int height, int mode,
                ResizePlan* plan) {
    if (sourceWidth < 1 || sourceHeight < 1 || width < 1 || height < 1) {
        return false;
    }
    const double scaleX = static_cast<double>(width) / sourceWidth;
    const double scaleY = static_cast<double>(height) / sourceHeight;
    if (mode == ResizeStretch) {
        *plan = ResizePlan{width, height, Box{0, 0, sourceWidth, sourceHeight}};
        return true;
    }
    double scale = 0.0;
    switch (mode) {
        case ResizeFit:
            scale = std::min(scaleX, scaleY);
            break;
        case ResizeFill:
            scale = std::max(scaleX, scaleY);
            break;
        case ResizeByWidth:
            scale = scaleX;
            break;
        case ResizeByHeight:
            scale = scaleY;
            break;
        default:
            return false;
    }
    int outputWidth = 0;
    int outputHeight = 0;
    if (!Truncate(sourceWidth * scale, &outputWidth) ||
        !Truncate(sourceHeight * scale, &outputHeight) || outputWidth < 1 || outputHeight < 1) {
        return false;
    }
    // Truncating the output size leaves a remainder of the source uncovered; half of it is
    // skipped on each side so the picture stays centred.
    const int offsetX = static_cast<int>((sourceWidth - outputWidth / scale) * 0.5);
    const int offsetY = static_cast<int>((sourceHeight - outputHeight / scale) * 0.5);
    *plan = ResizePlan{outputWidth, outputHeight, Box{offsetX, offsetY, sourceWidth, sourceHeight}};
    return true;
}

bool CropToFill(const Box& source, int targetWidth, int targetHeight, Box* region) {
    if (!HasArea(source) || targetWidth < 1 || targetHeight < 1) {
        return false;
    }
    const double scale = std::min(static_cast<double>(source.width) / targetWidth,
                                  static_cast<double>(source.height) / targetHeight);
    const int width = std::min(source.width, static_cast<int>(targetWidth * scale));
    const int height = std::min(source.height, static_cast<int>(targetHeight * scale));
    if (width < 1 || height < 1) {
        return false;
    }
    *region = Box{source.x + (source.width - width) / 2, source.y + (source.height - height) / 2,
                  width, height};
    return true;
}

bool FitInside(const Box& source, const Box& target, Box* fitted) {
    if (!HasArea(source) || !HasArea(target)) {
        return false;
    }
    const double scale = std::max(static_cast<double>(source.width) / target.width,
                                  static_cast<double>(source.height) / target.height);
    const int width = static_cast<int>(source.width / scale);
    const int height = static_cast<int>(source.height / scale);
    if (width < 1 || height < 1) {
        return false;
    }
    *fitted = Box{target.x + (std::max(target.width, width) - width) / 2,
                  target.y + (std::max(target.height, height) - height) / 2, width, height};
    return true;
}

namespace {

// One axis of CentreUnscaled: the source's start and length shown and the target start.
struct AxisPlacement {
    int sourceStart;
    int length;
    int targetStart;
};

AxisPlacement CentreAxis(int sourceStart, int sourceLength, int targetStart, int targetLength) {
    if (sourceLength > targetLength) {
        return AxisPlacement{sourceStart + (sourceLength - targetLength) / 2, targetLength,
                             targetStart};
    }
    return AxisPlacement{sourceStart, sourceLength,
                         targetStart + (targetLength - sourceLength) / 2};
}

}  // namespace

bool CentreUnscaled(const Box& source, const Box& target, Placement* placement) {
    if (!HasArea(source) || !HasArea(target)) {
        return false;
    }
    const AxisPlacement x = CentreAxis(source.x, source.width, target.x, target.width);
    const AxisPlacement y = CentreAxis(source.y, source.height, target.y, target.height);
    *placement = Placement{Box{x.sourceStart, y.sourceStart, x.length, y.length},
                           Box{x.targetStart, y.targetStart, x.length, y.length}};
    return true;
}

bool CentreTopLeftPart(const Box& source, const Box& target, Placement* placement) {
    if (!HasArea(source) || !HasArea(target)) {
        return false;
    }
    const int width = std::min(source.width, target.width);
    const int height = std::min(source.height, target.height);
    *placement = Placement{Box{source.x, source.y, width, height},
                           Box{target.x + (target.width - width) / 2,
                               target.y + (target.height - height) / 2, width, height}};
    return true;
}

TileGrid::TileGrid(const Box& source, const Box& target)
    : m_source(source), m_target(target), m_columns(0), m_rows(0) {
    if (HasArea(source) && HasArea(target)) {
        m_columns = target.width / source.width + (target.width % source.width != 0 ? 1 : 0);
        m_rows = target.height / source.height + (target.height % source.height != 0 ? 1 : 0);
    }
}

Placement TileGrid::Tile(int column, int row) const {
    const int left = column * m_source.width;
    const int top = row * m_source.height;
    const int width = std::min(m_source.width, m_target.width - left);
    const int height = std::min(m_source.height, m_target.height - top);
    return Placement{Box{m_source.x, m_source.y, width, height},
                     Box{m_target.x + left, m_target.y + top, width, height}};
}

}  // namespace zuvo::imaging
