// Test helpers: bitmaps owned by the tests, made from pixel functions and read back as ARGB,
// canvases to draw on, colour comparison and encoded bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/imaging/ProgramApi.h"

namespace pictures {

constexpr uint32_t kClear = 0x00000000;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

struct BitmapDelete {
    void operator()(Gdiplus::Bitmap* bitmap) const { program::Gdiplus_DeleteBitmap(bitmap); }
};
using Owned = std::unique_ptr<Gdiplus::Bitmap, BitmapDelete>;

using PixelFunction = std::function<uint32_t(int x, int y)>;

// A bitmap of the format whose pixels are pixel(x, y) as ARGB (converted by GDI+ for other
// formats).
Owned Make(int width, int height, const PixelFunction& pixel,
           Gdiplus::PixelFormat format = PixelFormat32bppARGB);

// An 8-bit indexed bitmap of the indices (one row) with the given palette entries changed.
Owned MakeIndexed(const std::vector<uint8_t>& indices,
                  const std::vector<std::pair<int, uint32_t>>& entries);

// An opaque colour unique to (x, y) for x, y < 256.
uint32_t Pattern(int x, int y);

// All pixels as ARGB, row by row from the top.
std::vector<uint32_t> Pixels(Gdiplus::Bitmap* bitmap);
uint32_t PixelAt(Gdiplus::Bitmap* bitmap, int x, int y);
int Width(Gdiplus::Bitmap* bitmap);
int Height(Gdiplus::Bitmap* bitmap);

// Each of the four channels differs by at most tolerance.
testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance);
std::string Hex(uint32_t value);

// A transparent 32-bit ARGB bitmap with a graphics surface on it.
class Canvas {
public:
    Canvas(int width, int height, uint32_t fill = 0);
    Gdiplus::Graphics* graphics() { return m_graphics.get(); }
    Gdiplus::Bitmap* bitmap() { return m_bitmap.get(); }
    // Flushes what was drawn and reads a pixel (0 without a canvas).
    uint32_t At(int x, int y);
    // How many pixels differ from colour inside (and outside) the rectangle; -1 without a
    // canvas.
    int CountNot(uint32_t colour, const RECT& inside);
    int CountOutsideNot(uint32_t colour, const RECT& inside);

private:
    // Flushes the drawing; false (and a failure) when there is no canvas.
    bool Flush();

    Owned m_bitmap;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};

// The file's bytes; empty when it cannot be read.
std::vector<uint8_t> FileBytes(const std::wstring& path);
// The encoded bytes of a bitmap in the MIME type's format.
std::vector<uint8_t> Encode(Gdiplus::Bitmap* bitmap, const wchar_t* mimeType);

}  // namespace pictures
