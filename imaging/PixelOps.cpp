#include "imaging/PixelOps.h"

#include <algorithm>

namespace zuvo::imaging {

namespace {

// An empty bounding rectangle that the first Add replaces.
constexpr ZRect kNoBounds{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};

}  // namespace

void GreyRow24(const uint8_t* source, uint8_t* target, int width) {
    for (int x = 0; x < width; ++x) {
        const uint8_t grey = GreyOf(source[2], source[1], source[0]);
        target[0] = grey;
        target[1] = grey;
        target[2] = grey;
        source += 3;
        target += 3;
    }
}

void GreyRow32(const uint32_t* source, uint32_t* target, int width) {
    for (int x = 0; x < width; ++x) {
        target[x] = GreyArgb(source[x]);
    }
}

void ReplaceAlphaInRange(uint32_t* row, int width, uint8_t newAlpha, int lowest, int highest) {
    const uint32_t alphaBits = static_cast<uint32_t>(newAlpha) << 24;
    for (int x = 0; x < width; ++x) {
        const int alpha = static_cast<int>(row[x] >> 24);
        if (alpha >= lowest && alpha <= highest) {
            row[x] = (row[x] & 0x00FFFFFFu) | alphaBits;
        }
    }
}

RectBatch::RectBatch(ZRect* storage, int capacity)
    : m_storage(storage), m_capacity(capacity), m_count(0), m_bounds(kNoBounds) {}

bool RectBatch::Add(int left, int top, int right, int bottom) {
    if (m_count >= m_capacity) {
        return false;
    }
    m_storage[m_count++] = ZRect{left, top, right, bottom};
    m_bounds.left = std::min(m_bounds.left, left);
    m_bounds.top = std::min(m_bounds.top, top);
    m_bounds.right = std::max(m_bounds.right, right);
    m_bounds.bottom = std::max(m_bounds.bottom, bottom);
    return true;
}

void RectBatch::Clear() {
    m_count = 0;
    m_bounds = kNoBounds;
}

}  // namespace zuvo::imaging
