// Rectangles and raw pixel buffer fills and copies.
//
// The buffers are not necessarily 4-byte aligned (bitmap rows handed over by callers), so
// pixels are written with memcpy, which compiles to plain stores where alignment allows.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>

#include "ZUVO_CommonCoreExtras.h"

namespace {

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// rect limited to x >= 0, y >= 0 and x < columns; the bottom is the caller's promise.
ZRect ClipToColumns(const ZRect& rect, int columns) {
    ZRect clipped = rect;
    clipped.left = std::max(clipped.left, 0);
    clipped.top = std::max(clipped.top, 0);
    clipped.right = std::min(clipped.right, columns);
    return clipped;
}

bool IsEmpty(const ZRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

}  // namespace

extern "C" {

void ZUVO_CALL SetRectXY(ZRect* rect, int x, int y, int width, int height) {
    if (rect == nullptr) {
        return;
    }
    rect->left = x;
    rect->top = y;
    rect->right = ClampToInt32(int64_t{x} + width);
    rect->bottom = ClampToInt32(int64_t{y} + height);
}

int ZUVO_CALL BoundRect(ZRect* out, const ZRect* rect, const ZRect* bounds) {
    if (out == nullptr || rect == nullptr || bounds == nullptr) {
        return 0;
    }
    ZRect result;
    result.left = std::max(rect->left, bounds->left);
    result.top = std::max(rect->top, bounds->top);
    result.right = std::min(rect->right, bounds->right);
    result.bottom = std::min(rect->bottom, bounds->bottom);
    if (IsEmpty(result)) {
        result.right = result.left;
        result.bottom = result.top;
        *out = result;
        return 0;
    }
    *out = result;
    return 1;
}

void ZUVO_CALL DrawColorOnBuffer(uint32_t colour, void* bits, const ZRect* rect, int stride) {
    if (bits == nullptr || rect == nullptr || stride < 4) {
        return;
    }
    const ZRect clipped = ClipToColumns(*rect, stride / 4);
    if (IsEmpty(clipped)) {
        return;
    }
    auto* bytes = static_cast<unsigned char*>(bits);
    const size_t rowBytes = static_cast<size_t>(clipped.right - clipped.left) * 4;
    unsigned char* firstRow = bytes +
                              static_cast<size_t>(clipped.top) * static_cast<size_t>(stride) +
                              static_cast<size_t>(clipped.left) * 4;
    for (size_t offset = 0; offset < rowBytes; offset += 4) {
        std::memcpy(firstRow + offset, &colour, 4);
    }
    for (int y = clipped.top + 1; y < clipped.bottom; ++y) {
        unsigned char* row = bytes + static_cast<size_t>(y) * static_cast<size_t>(stride) +
                             static_cast<size_t>(clipped.left) * 4;
        std::memcpy(row, firstRow, rowBytes);
    }
}

void ZUVO_CALL DrawBufferOnBuffer(void* destBits, const ZRect* destRect, int destStride,
                                  const void* srcBits, const ZRect* srcRect, int srcStride,
                                  int bytesPerPixel) {
    if (destBits == nullptr || destRect == nullptr || srcBits == nullptr || srcRect == nullptr) {
        return;
    }
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) || destStride < bytesPerPixel ||
        srcStride < bytesPerPixel) {
        return;
    }
    // Each rectangle is clipped to its own buffer; the copy then starts at both clipped
    // top-left corners and takes the smaller size.
    const ZRect dest = ClipToColumns(*destRect, destStride / bytesPerPixel);
    const ZRect src = ClipToColumns(*srcRect, srcStride / bytesPerPixel);
    if (IsEmpty(dest) || IsEmpty(src)) {
        return;
    }
    const int width = std::min(dest.right - dest.left, src.right - src.left);
    const int height = std::min(dest.bottom - dest.top, src.bottom - src.top);
    const size_t pixelBytes = static_cast<size_t>(bytesPerPixel);
    const size_t rowBytes = static_cast<size_t>(width) * pixelBytes;
    auto destRow = [&](int row) {
        return static_cast<unsigned char*>(destBits) +
               static_cast<size_t>(dest.top + row) * static_cast<size_t>(destStride) +
               static_cast<size_t>(dest.left) * pixelBytes;
    };
    auto srcRow = [&](int row) {
        return static_cast<const unsigned char*>(srcBits) +
               static_cast<size_t>(src.top + row) * static_cast<size_t>(srcStride) +
               static_cast<size_t>(src.left) * pixelBytes;
    };
    // Scrolling within one buffer: copy rows in the order that reads each row before it is
    // overwritten (memmove handles the overlap inside a row). std::less orders any two
    // pointers, also those of unrelated buffers.
    if (std::less<const unsigned char*>()(srcRow(0), destRow(0))) {
        for (int row = height - 1; row >= 0; --row) {
            std::memmove(destRow(row), srcRow(row), rowBytes);
        }
    } else {
        for (int row = 0; row < height; ++row) {
            std::memmove(destRow(row), srcRow(row), rowBytes);
        }
    }
}

}  // extern "C"
