// Device-independent bitmaps with directly addressable pixel memory.
#include <windows.h>

#include <cstring>

#include "ZUVO_CommonExtras.h"
#include "framework/Handles.h"

extern "C" HBITMAP ZUVO_CALL CreateHBitmap(void** bits, int width, int height, int bitsPerPixel) {
    if (bits != nullptr) {
        *bits = nullptr;
    }
    if (width <= 0 || height == 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        return nullptr;
    }
    const long long rows = height < 0 ? -static_cast<long long>(height) : height;
    const long long stride = ((static_cast<long long>(width) * bitsPerPixel + 31) / 32) * 4;
    if (stride * rows > 0x7FFFFFFFLL) {
        return nullptr;
    }
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    zuvo::UniqueBitmap bitmap(
        CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || pixels == nullptr) {
        return nullptr;
    }
    std::memset(pixels, 0, static_cast<size_t>(stride * rows));
    if (bits != nullptr) {
        *bits = pixels;
    }
    return bitmap.release();
}
