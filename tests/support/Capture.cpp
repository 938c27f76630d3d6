#include "tests/support/Capture.h"

#include <objidl.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <utility>

#include "framework/Handles.h"
#include "tests/support/TestPaths.h"

namespace zuvo::test {

namespace {

bool PngEncoder(CLSID* clsid) {
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) {
        return false;
    }
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < count; ++i) {
        if (std::wcscmp(encoders[i].MimeType, L"image/png") == 0) {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

Capture::Capture(HWND window, Source source) {
    RECT rect;
    GetWindowRect(window, &rect);
    m_width = rect.right - rect.left;
    m_height = rect.bottom - rect.top;
    m_pixels.assign(static_cast<size_t>(m_width) * m_height, 0);
    WindowDc screen(nullptr);
    WindowDc own(window, true);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !memory) {
        ADD_FAILURE() << "no capture bitmap";
        return;
    }
    {
        SelectGuard selected(memory.get(), bitmap.get());
        if (source == Source::Screen) {
            BitBlt(memory.get(), 0, 0, m_width, m_height, screen.get(), rect.left, rect.top,
                   SRCCOPY);
        } else {
            BitBlt(memory.get(), 0, 0, m_width, m_height, own.get(), 0, 0, SRCCOPY);
        }
    }
    GdiFlush();
    const auto* captured = static_cast<const uint32_t*>(bits);
    for (size_t index = 0; index < m_pixels.size(); ++index) {
        m_pixels[index] = captured[index] & 0xFFFFFF;
    }
}

Capture::Capture(int width, int height, std::vector<uint32_t> pixels)
    : m_width(width), m_height(height), m_pixels(std::move(pixels)) {
    m_pixels.resize(static_cast<size_t>(m_width) * m_height, 0);
}

Capture Capture::Part(int x, int y, int width, int height) const {
    std::vector<uint32_t> part;
    part.reserve(static_cast<size_t>(width) * height);
    for (int row = y; row < y + height; ++row) {
        const auto from = m_pixels.begin() + static_cast<ptrdiff_t>(row) * m_width + x;
        part.insert(part.end(), from, from + width);
    }
    return Capture(width, height, std::move(part));
}

int Capture::Count(uint32_t colour) const {
    int count = 0;
    for (uint32_t pixel : m_pixels) {
        count += pixel == colour ? 1 : 0;
    }
    return count;
}

std::wstring Capture::Save(const std::wstring& name) const {
    CLSID png;
    if (m_width <= 0 || m_height <= 0 || !PngEncoder(&png)) {
        return std::wstring();
    }
    std::vector<uint32_t> opaque(m_pixels);
    for (uint32_t& pixel : opaque) {
        pixel |= 0xFF000000u;
    }
    Gdiplus::Bitmap picture(m_width, m_height, m_width * 4, PixelFormat32bppARGB,
                            reinterpret_cast<BYTE*>(opaque.data()));
    // A run on a scaled screen keeps its own pictures: "main_window_150" beside "main_window".
    const char* dpi = std::getenv("ZUVO_WINE_DPI");
    const int dotsPerInch = dpi != nullptr && *dpi != '\0' ? std::atoi(dpi) : 96;
    const std::wstring scale =
        dotsPerInch == 96 ? L"" : L"_" + std::to_wstring(dotsPerInch * 100 / 96);
    const std::wstring path = ArtefactsFolder() + L"\\" + name + scale + L".png";
    return picture.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok ? path : std::wstring();
}

void SaveScreenshot(HWND window, const std::wstring& name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(100);
    EXPECT_FALSE(Capture(window, Capture::Source::Window).Save(name).empty())
        << "screenshot " << std::string(name.begin(), name.end());
}

}  // namespace zuvo::test
