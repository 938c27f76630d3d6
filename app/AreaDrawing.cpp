#include "app/AreaDrawing.h"

namespace zuvo::app {

void AreaDrawing::Reset(int mode) {
    m_mode = mode;
    m_points.clear();
    m_hasPreviousMark = false;
    m_previousMark = Point{0, 0};
}

void AreaDrawing::Begin(int mode) {
    Reset(mode == kMonitorArea || mode == kDetectionBoundary ? mode : kNotDrawing);
    if (IsDrawing()) {
        m_points.reserve(kMaxPoints);
    }
}

bool AreaDrawing::AddPoint(Point inView, const ZRect& sector) {
    if (!IsDrawing() || m_points.size() >= kMaxPoints) {
        return false;
    }
    const bool inside = inView.x >= sector.left && inView.x < sector.right &&
                        inView.y >= sector.top && inView.y < sector.bottom;
    if (!inside) {
        return false;
    }
    m_points.push_back(Pack(inView.y - sector.top, inView.x - sector.left));
    return true;
}

AreaDrawing::Mark AreaDrawing::NextMark(Point at) {
    const Mark mark{at, m_hasPreviousMark, m_hasPreviousMark ? m_previousMark : at};
    m_previousMark = at;
    m_hasPreviousMark = true;
    return mark;
}

AreaDrawing::Polygon AreaDrawing::Close() {
    Polygon polygon{m_mode, {}};
    if (IsDrawing() && m_points.size() > 2) {
        polygon.rowColumnPairs.reserve(m_points.size() * 2);
        for (const uint64_t packed : m_points) {
            polygon.rowColumnPairs.push_back(PackedRow(packed));
            polygon.rowColumnPairs.push_back(PackedColumn(packed));
        }
    }
    Reset(kNotDrawing);
    return polygon;
}

ZRect AreaDrawing::MarkBounds(Point at) {
    return ZRect{at.x - kMarkRadius, at.y - kMarkRadius, at.x + kMarkRadius, at.y + kMarkRadius};
}

uint64_t AreaDrawing::Pack(int32_t row, int32_t column) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) |
           static_cast<uint64_t>(static_cast<uint32_t>(column));
}

int32_t AreaDrawing::PackedRow(uint64_t packed) {
    return static_cast<int32_t>(static_cast<uint32_t>(packed >> 32));
}

int32_t AreaDrawing::PackedColumn(uint64_t packed) {
    return static_cast<int32_t>(static_cast<uint32_t>(packed & 0xFFFFFFFFu));
}

}  // namespace zuvo::app
