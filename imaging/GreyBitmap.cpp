// Grey copies of bitmaps in the source's own pixel format.
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"
#include "imaging/PixelOps.h"

using namespace zuvo::imaging;

namespace {

// Both bitmaps locked, the source for reading and the target for writing, in one format;
// unlocked on destruction.
class LockedPair {
public:
    LockedPair(Gdiplus::Bitmap* source, Gdiplus::Bitmap* target, int width, int height,
               Gdiplus::PixelFormat format) noexcept
        : m_source(source), m_target(target) {
        Gdiplus::Rect all(0, 0, width, height);
        m_sourceLocked =
            source->LockBits(&all, Gdiplus::ImageLockModeRead, format, &m_read) == Gdiplus::Ok;
        m_targetLocked =
            target->LockBits(&all, Gdiplus::ImageLockModeWrite, format, &m_write) == Gdiplus::Ok;
    }
    LockedPair(const LockedPair&) = delete;
    LockedPair& operator=(const LockedPair&) = delete;
    ~LockedPair() { Unlock(); }

    bool Locked() const { return m_sourceLocked && m_targetLocked; }
    const uint8_t* SourceRow(int y) const {
        return static_cast<const uint8_t*>(m_read.Scan0) +
               static_cast<ptrdiff_t>(y) * m_read.Stride;
    }
    uint8_t* TargetRow(int y) const {
        return static_cast<uint8_t*>(m_write.Scan0) + static_cast<ptrdiff_t>(y) * m_write.Stride;
    }
    // Unlocks both; false when writing the target back failed.
    bool Unlock() noexcept {
        bool written = true;
        if (m_sourceLocked) {
            m_source->UnlockBits(&m_read);
            m_sourceLocked = false;
        }
        if (m_targetLocked) {
            written = m_target->UnlockBits(&m_write) == Gdiplus::Ok;
            m_targetLocked = false;
        }
        return written;
    }

private:
    Gdiplus::Bitmap* m_source;
    Gdiplus::Bitmap* m_target;
    Gdiplus::BitmapData m_read{};
    Gdiplus::BitmapData m_write{};
    bool m_sourceLocked = false;
    bool m_targetLocked = false;
};

bool Is32Bit(Gdiplus::PixelFormat format) {
    return format == PixelFormat32bppARGB || format == PixelFormat32bppPARGB ||
           format == PixelFormat32bppRGB;
}

// An indexed picture keeps its indices; its palette becomes grey. (A new indexed bitmap has
// a default palette of its own, which would show other colours.)
bool GreyPaletteOf(Gdiplus::Bitmap* source, Gdiplus::Bitmap* target) noexcept {
    const INT bytes = source->GetPaletteSize();
    if (bytes < static_cast<INT>(sizeof(Gdiplus::ColorPalette))) {
        return false;
    }
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[bytes]);
    if (!block) {
        return false;
    }
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(block.get());
    if (source->GetPalette(palette, bytes) != Gdiplus::Ok) {
        return false;
    }
    for (UINT i = 0; i < palette->Count; ++i) {
        palette->Entries[i] = GreyArgb(palette->Entries[i]);
    }
    return target->SetPalette(palette) == Gdiplus::Ok;
}

}  // namespace

extern "C" {

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_Gray(Gdiplus::Bitmap* source) noexcept {
    int width = 0;
    int height = 0;
    if (source == nullptr || !BitmapSize(source, &width, &height)) {
        return nullptr;
    }
    const Gdiplus::PixelFormat format = source->GetPixelFormat();
    BitmapPtr grey = NewBitmap(width, height, format);
    if (!grey) {
        return nullptr;
    }
    const bool indexed = (format & PixelFormatIndexed) != 0;
    if (indexed && !GreyPaletteOf(source, grey.get())) {
        return nullptr;
    }
    // 24- and 32-bit pixels are greyed in place of their own format, indices copied; any
    // other format goes through 32-bit ARGB, which GDI+ converts to and from.
    const Gdiplus::PixelFormat lockFormat =
        format == PixelFormat24bppRGB || Is32Bit(format) || indexed ? format : PixelFormat32bppARGB;
    LockedPair pixels(source, grey.get(), width, height, lockFormat);
    if (!pixels.Locked()) {
        return nullptr;
    }
    const size_t indexBytes =
        (static_cast<size_t>(width) * Gdiplus::GetPixelFormatSize(format) + 7) / 8;
    for (int y = 0; y < height; ++y) {
        if (indexed) {
            std::memcpy(pixels.TargetRow(y), pixels.SourceRow(y), indexBytes);
        } else if (lockFormat == PixelFormat24bppRGB) {
            GreyRow24(pixels.SourceRow(y), pixels.TargetRow(y), width);
        } else {
            GreyRow32(reinterpret_cast<const uint32_t*>(pixels.SourceRow(y)),
                      reinterpret_cast<uint32_t*>(pixels.TargetRow(y)), width);
        }
    }
    if (!pixels.Unlock()) {
        return nullptr;
    }
    return grey.release();
}

}  // extern "C"
