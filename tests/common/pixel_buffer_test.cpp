// Rectangle helpers and clipped fills and copies on raw pixel buffers. Pictures are drawn as
// text: one character per pixel, '.' for the background.
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ZUVO_CommonCore.h"

namespace {

constexpr uint8_t kGuard = 0xEE;
constexpr size_t kGuardBytes = 64;

// A buffer of rows x stride bytes followed by guard bytes that must never change.
class Buffer {
public:
    Buffer(int columns, int rows, int bytesPerPixel, int padding = 0)
        : m_columns(columns),
          m_rows(rows),
          m_bytesPerPixel(bytesPerPixel),
          m_stride(columns * bytesPerPixel + padding),
          m_bytes(static_cast<size_t>(m_stride * rows) + kGuardBytes, 0) {
        std::memset(m_bytes.data() + m_stride * rows, kGuard, kGuardBytes);
    }
    void* Bits() { return m_bytes.data(); }
    int Stride() const { return m_stride; }
    uint32_t Pixel(int x, int y) const {
        uint32_t value = 0;
        std::memcpy(&value, &m_bytes[static_cast<size_t>(y * m_stride + x * m_bytesPerPixel)],
                    static_cast<size_t>(m_bytesPerPixel));
        return value;
    }
    void SetPixel(int x, int y, uint32_t value) {
        std::memcpy(&m_bytes[static_cast<size_t>(y * m_stride + x * m_bytesPerPixel)], &value,
                    static_cast<size_t>(m_bytesPerPixel));
    }
    // Pixel values 0..9 and 'A'.. as characters, 0 as '.'.
    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < m_rows; ++y) {
            std::string row;
            for (int x = 0; x < m_columns; ++x) {
                const uint32_t value = Pixel(x, y);
                row.push_back(value == 0
                                  ? '.'
                                  : static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10));
            }
            rows.push_back(row);
        }
        return rows;
    }
    bool GuardIntact() const {
        for (size_t i = 0; i < kGuardBytes; ++i) {
            if (m_bytes[static_cast<size_t>(m_stride * m_rows) + i] != kGuard) {
                return false;
            }
        }
        return true;
    }

private:
    int m_columns;
    int m_rows;
    int m_bytesPerPixel;
    int m_stride;
    std::vector<uint8_t> m_bytes;
};

// A source whose pixel (x, y) holds a distinct value 1 + x + columns * y.
Buffer Numbered(int columns, int rows, int bytesPerPixel) {
    Buffer source(columns, rows, bytesPerPixel);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            source.SetPixel(x, y, static_cast<uint32_t>(1 + x + columns * y));
        }
    }
    return source;
}

struct BoundCase {
    const char* name;
    ZRect rect;
    ZRect bounds;
    ZRect expected;
    int answer;
};

void PrintTo(const BoundCase& c, std::ostream* os) {
    *os << "(" << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom
        << ") within (" << c.bounds.left << "," << c.bounds.top << "," << c.bounds.right << ","
        << c.bounds.bottom << ")";
}

class BoundRectTest : public ::testing::TestWithParam<BoundCase> {};

TEST_P(BoundRectTest, Intersection) {
    const BoundCase& c = GetParam();
    ZRect out{99, 99, 99, 99};
    EXPECT_EQ(BoundRect(&out, &c.rect, &c.bounds), c.answer);
    EXPECT_EQ(out.left, c.expected.left);
    EXPECT_EQ(out.top, c.expected.top);
    EXPECT_EQ(out.right, c.expected.right);
    EXPECT_EQ(out.bottom, c.expected.bottom);
    ZRect inPlace = c.rect;
    EXPECT_EQ(BoundRect(&inPlace, &inPlace, &c.bounds), c.answer);
    EXPECT_EQ(inPlace.right, c.expected.right);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundRectTest,
    ::testing::Values(
        BoundCase{"OverTheTopLeftCornerIsCut", {-5, -5, 5, 5}, {0, 0, 10, 10}, {0, 0, 5, 5}, 1},
        BoundCase{"InsideIsKept", {2, 3, 4, 5}, {0, 0, 10, 10}, {2, 3, 4, 5}, 1},
        BoundCase{
            "DisjointIsEmptyAtItsCorner", {20, 20, 30, 30}, {0, 0, 10, 10}, {20, 20, 20, 20}, 0},
        BoundCase{"TouchingTheRightEdgeIsEmpty", {10, 0, 20, 5}, {0, 0, 10, 10}, {10, 0, 10, 0}, 0},
        BoundCase{"AroundTheBoundsIsCutToThem", {0, 0, 10, 10}, {2, 2, 8, 8}, {2, 2, 8, 8}, 1}),
    [](const testing::TestParamInfo<BoundCase>& row) { return std::string(row.param.name); });

TEST(PixelBuffer, FillClipsToTheBuffer) {
    Buffer buffer(8, 4, 4);
    ZRect rect{-2, -1, 3, 2};
    DrawColorOnBuffer(1, buffer.Bits(), &rect, buffer.Stride());
    rect = ZRect{6, 3, 20, 4};
    DrawColorOnBuffer(2, buffer.Bits(), &rect, buffer.Stride());
    rect = ZRect{4, 1, 4, 3};  // empty
    DrawColorOnBuffer(3, buffer.Bits(), &rect, buffer.Stride());
    DrawColorOnBuffer(3, nullptr, &rect, buffer.Stride());
    DrawColorOnBuffer(3, buffer.Bits(), nullptr, buffer.Stride());
    const std::vector<std::string> expected = {"111.....", "111.....", "........", "......22"};
    EXPECT_EQ(buffer.Picture(), expected);
    EXPECT_TRUE(buffer.GuardIntact());
}

TEST(PixelBuffer, FillReachesTheRowPadding) {
    Buffer buffer(3, 2, 4, 4);  // one pixel of padding per row: stride / 4 = 4 columns
    ZRect rect{1, 0, 10, 2};
    DrawColorOnBuffer(5, buffer.Bits(), &rect, buffer.Stride());
    EXPECT_EQ(buffer.Picture(), (std::vector<std::string>{".55", ".55"}));
    EXPECT_TRUE(buffer.GuardIntact());
}

TEST(PixelBuffer, CopyTakesTheSmallerSize) {
    Buffer source = Numbered(4, 4, 4);
    Buffer dest(8, 7, 4);  // the bottom is not clipped: the buffer holds every row copied
    const ZRect from{0, 0, 4, 4};
    const ZRect to{2, 3, 10, 12};
    DrawBufferOnBuffer(dest.Bits(), &to, dest.Stride(), source.Bits(), &from, source.Stride(), 4);
    const std::vector<std::string> expected = {"........", "........", "........", "..1234..",
                                               "..5678..", "..9ABC..", "..DEFG.."};
    EXPECT_EQ(dest.Picture(), expected);
    EXPECT_TRUE(dest.GuardIntact());
}

TEST(PixelBuffer, CopyClipsEachRectangleToItsBuffer) {
    Buffer source = Numbered(4, 4, 4);
    Buffer dest(8, 4, 4);
    const ZRect negative{-1, -1, 3, 3};  // clipped to (0, 0, 3, 3)
    const ZRect srcShifted{1, 1, 4, 4};
    DrawBufferOnBuffer(dest.Bits(), &negative, dest.Stride(), source.Bits(), &srcShifted,
                       source.Stride(), 4);
    const ZRect pastRight{6, 0, 12, 2};    // clipped to two columns
    const ZRect srcNegative{-2, 0, 2, 2};  // clipped to (0, 0, 2, 2)
    DrawBufferOnBuffer(dest.Bits(), &pastRight, dest.Stride(), source.Bits(), &srcNegative,
                       source.Stride(), 4);
    const std::vector<std::string> expected = {"678...12", "ABC...56", "EFG.....", "........"};
    EXPECT_EQ(dest.Picture(), expected);
    EXPECT_TRUE(dest.GuardIntact());
}

TEST(PixelBuffer, CopyOf24BitRows) {
    Buffer source = Numbered(3, 2, 3);
    Buffer dest(5, 2, 3, 1);  // 24-bit rows padded to 16 bytes
    const ZRect from{0, 0, 3, 2};
    const ZRect to{3, 0, 8, 2};
    DrawBufferOnBuffer(dest.Bits(), &to, dest.Stride(), source.Bits(), &from, source.Stride(), 3);
    EXPECT_EQ(dest.Picture(), (std::vector<std::string>{"...12", "...45"}));
    EXPECT_TRUE(dest.GuardIntact());
    DrawBufferOnBuffer(dest.Bits(), &to, dest.Stride(), source.Bits(), &from, source.Stride(), 2);
    EXPECT_EQ(dest.Picture(), (std::vector<std::string>{"...12", "...45"}));
}

TEST(PixelBuffer, ScrollWithinOneBuffer) {
    Buffer buffer = Numbered(3, 4, 4);
    const ZRect from{0, 0, 3, 3};
    const ZRect down{0, 1, 3, 4};
    DrawBufferOnBuffer(buffer.Bits(), &down, buffer.Stride(), buffer.Bits(), &from, buffer.Stride(),
                       4);
    EXPECT_EQ(buffer.Picture(), (std::vector<std::string>{"123", "123", "456", "789"}));
    const ZRect up{0, 0, 3, 3};
    const ZRect lower{0, 1, 3, 4};
    DrawBufferOnBuffer(buffer.Bits(), &up, buffer.Stride(), buffer.Bits(), &lower, buffer.Stride(),
                       4);
    EXPECT_EQ(buffer.Picture(), (std::vector<std::string>{"123", "456", "789", "789"}));
    EXPECT_TRUE(buffer.GuardIntact());
}

}  // namespace
