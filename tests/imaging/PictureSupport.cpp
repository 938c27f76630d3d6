#include "tests/imaging/PictureSupport.h"

#include "tests/support/WholeFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pictures {

Owned Make(int width, int height, const PixelFunction& pixel, Gdiplus::PixelFormat format) {
    Owned bitmap(program::Gdiplus_CreateBitmap(width, height, format));
    if (!bitmap) {
        ADD_FAILURE() << "no bitmap " << width << " x " << height;
        return bitmap;
    }
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
        ADD_FAILURE() << "cannot write pixels";
        return bitmap;
    }
    for (int y = 0; y < height; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; ++x) {
            row[x] = pixel(x, y);
        }
    }
    EXPECT_EQ(bitmap->UnlockBits(&data), Gdiplus::Ok);
    return bitmap;
}

Owned MakeIndexed(const std::vector<uint8_t>& indices,
                  const std::vector<std::pair<int, uint32_t>>& entries) {
    const int width = static_cast<int>(indices.size());
    Owned bitmap(program::Gdiplus_CreateBitmap(width, 1, PixelFormat8bppIndexed));
    if (!bitmap) {
        ADD_FAILURE() << "no indexed bitmap";
        return bitmap;
    }
    const INT paletteBytes = bitmap->GetPaletteSize();
    std::vector<uint8_t> block(static_cast<size_t>(paletteBytes));
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(block.data());
    EXPECT_EQ(bitmap->GetPalette(palette, paletteBytes), Gdiplus::Ok);
    for (const auto& [index, colour] : entries) {
        palette->Entries[index] = colour;
    }
    EXPECT_EQ(bitmap->SetPalette(palette), Gdiplus::Ok);
    Gdiplus::Rect all(0, 0, width, 1);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed, &data) !=
        Gdiplus::Ok) {
        ADD_FAILURE() << "cannot write indices";
        return bitmap;
    }
    std::memcpy(data.Scan0, indices.data(), indices.size());
    EXPECT_EQ(bitmap->UnlockBits(&data), Gdiplus::Ok);
    return bitmap;
}

uint32_t Pattern(int x, int y) {
    return 0xFF000000u | static_cast<uint32_t>(x & 0xFF) << 16 |
           static_cast<uint32_t>(y & 0xFF) << 8 | static_cast<uint32_t>((x * 7 + y * 13) & 0xFF);
}

std::vector<uint32_t> Pixels(Gdiplus::Bitmap* bitmap) {
    if (bitmap == nullptr) {
        ADD_FAILURE() << "no bitmap to read";
        return {};
    }
    const int width = Width(bitmap);
    const int height = Height(bitmap);
    std::vector<uint32_t> pixels;
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok) {
        ADD_FAILURE() << "cannot read pixels";
        return pixels;
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(data.Scan0) + y * data.Stride);
        pixels.insert(pixels.end(), row, row + width);
    }
    bitmap->UnlockBits(&data);
    return pixels;
}

uint32_t PixelAt(Gdiplus::Bitmap* bitmap, int x, int y) {
    if (bitmap == nullptr) {
        ADD_FAILURE() << "no bitmap to read pixel " << x << ", " << y << " of";
        return 0;
    }
    Gdiplus::Color colour;
    EXPECT_EQ(bitmap->GetPixel(x, y, &colour), Gdiplus::Ok) << "pixel " << x << ", " << y;
    return colour.GetValue();
}

int Width(Gdiplus::Bitmap* bitmap) {
    EXPECT_NE(bitmap, nullptr) << "no bitmap to measure";
    return bitmap != nullptr ? static_cast<int>(bitmap->GetWidth()) : 0;
}

int Height(Gdiplus::Bitmap* bitmap) {
    EXPECT_NE(bitmap, nullptr) << "no bitmap to measure";
    return bitmap != nullptr ? static_cast<int>(bitmap->GetHeight()) : 0;
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", value);
    return text;
}

testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return testing::AssertionFailure()
                   << Hex(actual) << " is not within " << tolerance << " of " << Hex(expected);
        }
    }
    return testing::AssertionSuccess();
}

Canvas::Canvas(int width, int height, uint32_t fill)
    : m_bitmap(program::Gdiplus_CreateColorBmp(width, height, fill)),
      m_graphics(m_bitmap ? new Gdiplus::Graphics(m_bitmap.get()) : nullptr) {
    EXPECT_TRUE(m_graphics) << "no canvas";
}

bool Canvas::Flush() {
    if (!m_graphics) {
        ADD_FAILURE() << "no canvas to read";
        return false;
    }
    m_graphics->Flush(Gdiplus::FlushIntentionSync);
    return true;
}

uint32_t Canvas::At(int x, int y) {
    if (!Flush()) {
        return 0;
    }
    return PixelAt(m_bitmap.get(), x, y);
}

int Canvas::CountNot(uint32_t colour, const RECT& inside) {
    if (!Flush()) {
        return -1;
    }
    const std::vector<uint32_t> pixels = Pixels(m_bitmap.get());
    const int width = Width(m_bitmap.get());
    int count = 0;
    for (int y = inside.top; y < inside.bottom; ++y) {
        for (int x = inside.left; x < inside.right; ++x) {
            count += pixels[static_cast<size_t>(y * width + x)] != colour ? 1 : 0;
        }
    }
    return count;
}

int Canvas::CountOutsideNot(uint32_t colour, const RECT& inside) {
    if (!Flush()) {
        return -1;
    }
    const std::vector<uint32_t> pixels = Pixels(m_bitmap.get());
    const int width = Width(m_bitmap.get());
    const int height = Height(m_bitmap.get());
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool in =
                x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
            count += !in && pixels[static_cast<size_t>(y * width + x)] != colour ? 1 : 0;
        }
    }
    return count;
}

std::vector<uint8_t> FileBytes(const std::wstring& path) {
    const std::string bytes = zuvo::test::ReadWholeFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> Encode(Gdiplus::Bitmap* bitmap, const wchar_t* mimeType) {
    if (bitmap == nullptr) {
        ADD_FAILURE() << "no bitmap to encode";
        return {};
    }
    CLSID encoder;
    if (!program::Gdiplus_GetEncoderClsidByFormatTypeW(mimeType, &encoder)) {
        ADD_FAILURE() << "no encoder";
        return {};
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) {
        ADD_FAILURE() << "no stream";
        return {};
    }
    std::vector<uint8_t> bytes;
    if (bitmap->Save(stream, &encoder, nullptr) == Gdiplus::Ok) {
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream, &memory);
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        const auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
        bytes.assign(data, data + stat.cbSize.QuadPart);
        GlobalUnlock(memory);
    } else {
        ADD_FAILURE() << "cannot encode";
    }
    stream->Release();
    return bytes;
}

}  // namespace pictures
