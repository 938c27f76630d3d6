// The portable area fill against the window's GDI+ fill, pixel for pixel: both fill the same
// area tables over the same frame pixels (every alpha byte included), and the frames must be
// equal. Polygons of every kind: clicked ones, concave and self-intersecting ones, with
// horizontal edges and repeated vertices, reaching past the frame, overlapping in slot order.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "ZUVO_Common.h"
#include "framework/Handles.h"
#include "sectorview/AreaFillPainter.h"
#include "sectorview/AreaTable.h"
#include "sectorview/PixelAreaPainter.h"

namespace {

using zuvo::sector::AreaTable;
using zuvo::sector::kAreaSlots;

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// A top-down 32-bit DIB section made as the window makes its frame, selected into a memory
// device context of its own.
class Frame {
public:
    Frame() : m_dc(CreateCompatibleDC(nullptr)) {
        void* bits = nullptr;
        m_bitmap.reset(CreateHBitmap(&bits, kWidth, -kHeight, 32));
        m_pixels = m_bitmap ? static_cast<uint32_t*>(bits) : nullptr;
        if (m_dc && m_bitmap) {
            m_previous = SelectObject(m_dc.get(), m_bitmap.get());
        }
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    ~Frame() {
        if (m_previous != nullptr) {
            SelectObject(m_dc.get(), m_previous);
        }
    }

    bool Ready() const { return m_dc && m_pixels != nullptr; }
    HDC Dc() const { return m_dc.get(); }
    uint32_t* Pixels() const { return m_pixels; }

private:
    zuvo::UniqueMemoryDc m_dc;
    zuvo::UniqueBitmap m_bitmap;
    uint32_t* m_pixels = nullptr;
    HGDIOBJ m_previous = nullptr;
};

int Pick(std::mt19937& random, int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(random);
}

// (row, column) pairs: a polygon as an operator clicks it, a spiky star, or vertices anywhere
// near the frame or tens of thousands of pixels away (crossing itself), with repeated vertices
// and shared rows now and then.
std::vector<int32_t> RandomPolygon(std::mt19937& random) {
    const int kind = Pick(random, 0, 2);
    const int count = Pick(random, 3, kind == 2 ? 7 : 14);
    const double centreRow = Pick(random, -10, kHeight + 10);
    const double centreColumn = Pick(random, -10, kWidth + 10);
    const double size = Pick(random, 3, 70);
    std::vector<int32_t> pairs;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && Pick(random, 0, 7) == 0) {
            const int32_t row = pairs[pairs.size() - 2];
            const int32_t column = pairs[pairs.size() - 1];
            pairs.push_back(row);
            pairs.push_back(Pick(random, 0, 1) == 0 ? column : Pick(random, -20, kWidth + 20));
            continue;
        }
        if (kind == 2) {
            const int spread = Pick(random, 0, 3) == 0 ? 30000 : 20;
            pairs.push_back(Pick(random, -spread, kHeight + spread));
            pairs.push_back(Pick(random, -spread, kWidth + spread));
            continue;
        }
        const double angle =
            2.0 * 3.14159265358979 * (i + 0.5 * Pick(random, 0, 99) / 100.0) / count;
        const double reach = size * (kind == 1 && i % 2 == 1 ? 0.3 : 1.0) *
                             (0.6 + 0.4 * Pick(random, 0, 99) / 100.0);
        pairs.push_back(static_cast<int32_t>(centreRow + reach * std::sin(angle)));
        pairs.push_back(static_cast<int32_t>(centreColumn + reach * std::cos(angle)));
    }
    return pairs;
}

TEST(PixelAreaFill, EqualsTheGdiplusFillOfTheWindow) {
    std::mt19937 random(4242);
    Frame frame;
    ASSERT_TRUE(frame.Ready());
    const size_t size = static_cast<size_t>(kWidth) * kHeight;
    std::vector<uint32_t> below(size);
    std::vector<uint32_t> portable(size);
    int differing = 0;
    for (int round = 0; round < 600 && differing == 0; ++round) {
        AreaTable table;
        const int areas = Pick(random, 1, round % 10 == 0 ? kAreaSlots : 4);
        for (int i = 0; i < areas; ++i) {
            const std::vector<int32_t> polygon = RandomPolygon(random);
            const uint32_t inactive = static_cast<uint32_t>(random()) & 0xFFFFFF;
            const uint32_t active = static_cast<uint32_t>(random()) & 0xFFFFFF;
            table.Add(polygon.data(), static_cast<int>(polygon.size() / 2), inactive, active, 0, 0);
        }
        const uint32_t activeSlots = static_cast<uint32_t>(random());
        for (uint32_t& pixel : below) {
            pixel = static_cast<uint32_t>(random());
        }
        std::memcpy(frame.Pixels(), below.data(), size * sizeof(uint32_t));
        portable = below;
        GdiFlush();
        zuvo::sector::FillAreasOnce(frame.Dc(), frame.Pixels(), kWidth, kHeight, table,
                                    activeSlots);
        zuvo::sector::PixelAreaPainter(portable.data(), kWidth, kHeight)
            .PaintAreas(table, activeSlots);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const size_t i = static_cast<size_t>(y) * kWidth + x;
                if (frame.Pixels()[i] != portable[i] && ++differing <= 10) {
                    ADD_FAILURE() << "round " << round << " at (" << x << ", " << y << "): GDI+ "
                                  << std::hex << frame.Pixels()[i] << ", portable " << portable[i]
                                  << ", below " << below[i];
                }
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
