#include "sectorview/AreaFillPainter.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstring>

#include "sectorview/Argb.h"

namespace zuvo::sector {

namespace {

bool IsEmpty(const ZRect& box) {
    return box.left >= box.right || box.top >= box.bottom;
}

ZRect Union(const ZRect& a, const ZRect& b) {
    if (IsEmpty(a)) {
        return b;
    }
    if (IsEmpty(b)) {
        return a;
    }
    return ZRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

ZRect Intersection(const ZRect& a, const ZRect& b) {
    const ZRect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                     std::min(a.bottom, b.bottom)};
    return IsEmpty(both) ? ZRect{0, 0, 0, 0} : both;
}

// The frame pixels the fills of the present slots among slots can touch.
ZRect SlotBox(const AreaTable& table, uint32_t slots, int width, int height) {
    ZRect box{0, 0, 0, 0};
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& area = table.Slot(slot);
        if (area.present && ((slots >> slot) & 1) != 0) {
            box = Union(box, area.bounds);
        }
    }
    return Intersection(box, ZRect{0, 0, width, height});
}

bool Reaches(const ZRect& bounds, const std::vector<ZRect>& boxes) {
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const ZRect& box) { return !IsEmpty(Intersection(bounds, box)); });
}

// Whether two tables fill the same: the same slots with the same outlines and colours.
bool SameFill(const AreaTable& a, const AreaTable& b) {
    if (a.PresentBits() != b.PresentBits()) {
        return false;
    }
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& x = a.Slot(slot);
        const SectorArea& y = b.Slot(slot);
        if (x.present && (x.activeColour != y.activeColour ||
                          x.inactiveColour != y.inactiveColour || x.polygon != y.polygon)) {
            return false;
        }
    }
    return true;
}

// The present slots' polygons that reach into the clip boxes, in slot order, drawn only there.
void FillSlots(HDC dc, const AreaTable& table, uint32_t activeSlots,
               const std::vector<ZRect>& clip) {
    Gdiplus::Graphics graphics(dc);
    if (graphics.GetLastStatus() != Gdiplus::Ok) {
        return;
    }
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    for (size_t i = 0; i < clip.size(); ++i) {
        const ZRect& box = clip[i];
        graphics.SetClip(
            Gdiplus::Rect(box.left, box.top, box.right - box.left, box.bottom - box.top),
            i == 0 ? Gdiplus::CombineModeReplace : Gdiplus::CombineModeUnion);
    }
    std::vector<Gdiplus::Point> points;
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        const SectorArea& area = table.Slot(slot);
        if (!area.present || !Reaches(area.bounds, clip)) {
            continue;
        }
        points.clear();
        for (size_t i = 0; i + 1 < area.polygon.size(); i += 2) {
            points.emplace_back(area.polygon[i + 1], area.polygon[i]);  // (column, row)
        }
        const bool active = ((activeSlots >> slot) & 1) != 0;
        Gdiplus::SolidBrush brush(
            Gdiplus::Color(WithAlpha(active ? area.activeColour : area.inactiveColour, 0x7F)));
        graphics.FillPolygon(&brush, points.data(), static_cast<INT>(points.size()),
                             Gdiplus::FillModeAlternate);
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
}

}  // namespace

void AreaFillPainter::SetBackground(const uint32_t* background, int width, int height) {
    Release();
    if (background == nullptr || width <= 0 || height <= 0) {
        return;
    }
    m_background = background;
    m_width = width;
    m_height = height;
    m_layered.assign(background,
                     background + static_cast<size_t>(width) * static_cast<size_t>(height));
}

void AreaFillPainter::Release() {
    Forget();
    m_background = nullptr;
    m_layered = std::vector<uint32_t>();
    m_width = 0;
    m_height = 0;
    m_dc = nullptr;
    m_frame = nullptr;
}

void AreaFillPainter::Forget() {
    m_fills.clear();
    m_next = 0;
    m_changed.clear();
}

bool AreaFillPainter::BeginFrame(HDC dc, uint32_t* frame, int width, int height,
                                 std::initializer_list<const AreaTable*> tables) {
    m_dc = dc;
    m_frame = frame;
    m_next = 0;
    m_changed.clear();
    if (m_layered.empty() || dc == nullptr || frame == nullptr || width != m_width ||
        height != m_height) {
        m_frame = nullptr;
        return false;
    }
    // The layered background may only hold fills the frame asks for again, in the same order:
    // a table that was emptied is not asked for at all, yet the scene would restore its fill.
    size_t kept = 0;
    for (const AreaTable* table : tables) {
        if (table == nullptr || table->PresentBits() == 0) {
            continue;
        }
        if (kept == m_fills.size() || !SameFill(m_fills[kept].table, *table)) {
            break;
        }
        ++kept;
    }
    DropFills(kept);
    return true;
}

void AreaFillPainter::DropFills(size_t index) {
    // The last first: what lay under each fill is what the ones before it left, so the layered
    // background ends as the fills that stay made it. The scene restores the frame from it
    // there, where the last frame filled.
    for (size_t i = m_fills.size(); i > index; --i) {
        FromUnder(m_fills[i - 1], m_layered.data(), m_fills[i - 1].box);
    }
    if (index < m_fills.size()) {
        m_fills.resize(index);
    }
}

void AreaFillPainter::PaintAreas(const AreaTable& table, uint32_t activeSlots) {
    if (m_frame == nullptr) {
        return;
    }
    const uint32_t active = activeSlots & table.PresentBits();
    const size_t index = m_next++;
    if (index < m_fills.size() && !SameFill(m_fills[index].table, table)) {
        StartOver(index);  // not the tables the frame was begun with
    }
    if (index == m_fills.size()) {
        Fill& fill = m_fills.emplace_back();
        fill.table = table;
        fill.activeSlots = active;
        fill.box = SlotBox(table, table.PresentBits(), m_width, m_height);
        FillAnew(fill);
        return;
    }
    // Where the fills before changed what lies under this one, and where a slot lit up or
    // went dark.
    Fill& fill = m_fills[index];
    Boxes changed;
    for (const ZRect& box : m_changed) {
        const ZRect part = Intersection(box, fill.box);
        if (!IsEmpty(part)) {
            changed.push_back(part);
        }
    }
    const uint32_t switched = fill.activeSlots ^ active;
    for (int slot = 0; slot < kAreaSlots; ++slot) {
        if (((switched >> slot) & 1) != 0) {
            const ZRect part = SlotBox(table, uint32_t{1} << slot, m_width, m_height);
            if (!IsEmpty(part)) {
                changed.push_back(part);
            }
        }
    }
    fill.activeSlots = active;
    if (!changed.empty()) {
        FillAgain(fill, changed);
    }
}

void AreaFillPainter::StartOver(size_t count) {
    for (const Fill& fill : m_fills) {
        CopyBox(m_background, m_frame, fill.box);
        CopyBox(m_background, m_layered.data(), fill.box);
    }
    m_fills.resize(count);
    m_changed.clear();
    for (Fill& fill : m_fills) {
        FillAnew(fill);
    }
}

void AreaFillPainter::FillAnew(Fill& fill) {
    fill.under.resize(static_cast<size_t>(fill.box.right - fill.box.left) *
                      static_cast<size_t>(fill.box.bottom - fill.box.top));
    if (IsEmpty(fill.box)) {
        return;
    }
    ToUnder(m_frame, fill, fill.box);
    FillInside(fill, Boxes{fill.box});
    m_changed.push_back(fill.box);
}

void AreaFillPainter::FillAgain(Fill& fill, const Boxes& changed) {
    // Where the fills before came out otherwise this frame, what lies under this one did too.
    for (const ZRect& box : m_changed) {
        ToUnder(m_frame, fill, box);
    }
    for (const ZRect& box : changed) {
        FromUnder(fill, m_frame, box);
    }
    FillInside(fill, changed);
    m_changed.insert(m_changed.end(), changed.begin(), changed.end());
}

void AreaFillPainter::FillInside(const Fill& fill, const Boxes& clip) {
    FillSlots(m_dc, fill.table, fill.activeSlots, clip);
    // GDI may batch what GDI+ asked of it: the pixels are touched only once it has all landed.
    GdiFlush();
    // GDI+ on a device context takes its pixels as opaque, so the brush colour gets exactly
    // its own alpha whatever the fan's shading left in the alpha byte. What the fill then
    // writes into that byte is up to GDI+ (Wine's writes the alpha an "over" would give,
    // Windows' is not documented), yet the tracks and markers drawn next blend over it. So
    // every pixel gets its alpha byte back: a track shows as strongly inside an area as beside
    // it, and the same on every GDI+.
    const size_t boxWidth = static_cast<size_t>(fill.box.right - fill.box.left);
    for (const ZRect& box : clip) {
        const ZRect part = Intersection(box, fill.box);
        for (int y = part.top; y < part.bottom; ++y) {
            uint32_t* row = m_frame + static_cast<size_t>(y) * static_cast<size_t>(m_width);
            const uint32_t* under = &fill.under[static_cast<size_t>(y - fill.box.top) * boxWidth];
            for (int x = part.left; x < part.right; ++x) {
                row[x] = WithAlpha(row[x], AlphaOf(under[x - fill.box.left]));
            }
        }
        // Nothing but the background and the fills has been drawn into the frame yet.
        CopyBox(m_frame, m_layered.data(), part);
    }
}

void AreaFillPainter::CopyBox(const uint32_t* from, uint32_t* to, const ZRect& box) const {
    if (IsEmpty(box)) {
        return;
    }
    const size_t count = static_cast<size_t>(box.right - box.left);
    for (int y = box.top; y < box.bottom; ++y) {
        const size_t offset =
            static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(box.left);
        std::memcpy(to + offset, from + offset, count * sizeof(uint32_t));
    }
}

void AreaFillPainter::ToUnder(const uint32_t* from, Fill& fill, const ZRect& box) const {
    const ZRect part = Intersection(box, fill.box);
    const size_t boxWidth = static_cast<size_t>(fill.box.right - fill.box.left);
    for (int y = part.top; y < part.bottom; ++y) {
        std::memcpy(&fill.under[static_cast<size_t>(y - fill.box.top) * boxWidth +
                                static_cast<size_t>(part.left - fill.box.left)],
                    from + static_cast<size_t>(y) * static_cast<size_t>(m_width) +
                        static_cast<size_t>(part.left),
                    static_cast<size_t>(part.right - part.left) * sizeof(uint32_t));
    }
}

void AreaFillPainter::FromUnder(const Fill& fill, uint32_t* to, const ZRect& box) const {
    const ZRect part = Intersection(box, fill.box);
    const size_t boxWidth = static_cast<size_t>(fill.box.right - fill.box.left);
    for (int y = part.top; y < part.bottom; ++y) {
        std::memcpy(to + static_cast<size_t>(y) * static_cast<size_t>(m_width) +
                        static_cast<size_t>(part.left),
                    &fill.under[static_cast<size_t>(y - fill.box.top) * boxWidth +
                                static_cast<size_t>(part.left - fill.box.left)],
                    static_cast<size_t>(part.right - part.left) * sizeof(uint32_t));
    }
}

void FillAreasOnce(HDC dc, uint32_t* pixels, int width, int height, const AreaTable& table,
                   uint32_t activeSlots) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return;
    }
    const std::vector<uint32_t> below(
        pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
    AreaFillPainter painter;
    painter.SetBackground(below.data(), width, height);
    if (painter.BeginFrame(dc, pixels, width, height, {&table}) && table.PresentBits() != 0) {
        painter.PaintAreas(table, activeSlots);
    }
}

}  // namespace zuvo::sector
