// What a window shows, as 0xRRGGBB per pixel with rows from the top, for tests that check
// pixels; kept as PNG files in the artefacts folder for a look after the run.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zuvo::test {

class Capture {
public:
    // Screen: the window's rectangle as the operator sees it, other windows over it included.
    // Window: the window's own pixels (with its frame), also for a window of another process;
    // for a pop-up over its owner, because Wine without a window manager raises the owner's X
    // window above its pop-ups whenever the focus moves inside the owner (on Windows an owned
    // window always stays above its owner).
    enum class Source { Screen, Window };
    explicit Capture(HWND window, Source source = Source::Screen);
    // Pixels put together by a test (width x height, rows from the top).
    Capture(int width, int height, std::vector<uint32_t> pixels);
    int width() const { return m_width; }
    int height() const { return m_height; }
    uint32_t At(int x, int y) const { return m_pixels[static_cast<size_t>(y) * m_width + x]; }
    const std::vector<uint32_t>& Pixels() const { return m_pixels; }
    // The rectangle of width x height pixels from (x, y), which must lie inside the capture.
    Capture Part(int x, int y, int width, int height) const;
    // How many pixels are exactly the colour (0xRRGGBB).
    int Count(uint32_t colour) const;
    // Saves the capture as <name>.png in the artefacts folder beside the test program;
    // answers the file's path, empty when it could not be saved. GDI+ must be running.
    std::wstring Save(const std::wstring& name) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

// Lets a window of this process finish painting and saves what it shows (Source::Window) as
// <name>.png in the artefacts folder; a picture that cannot be saved is a test failure.
void SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace zuvo::test
