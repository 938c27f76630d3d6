// New bitmaps: empty, filled, over caller memory, and decoded from memory, resources and
// files.
#include <cstring>
#include <memory>

#include "ZUVO_Common.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"

using zuvo::imaging::AnsiToWide;
using zuvo::imaging::BitmapPtr;
using zuvo::imaging::HandOver;
using zuvo::imaging::NewGdiplusObject;

namespace {

using StreamPtr = zuvo::UniqueCom<IStream>;

// A stream over a private copy of the bytes. The stream owns the copy and frees it with its
// last reference, so a bitmap decoded from it may keep reading it (GIF and TIFF frames are
// decoded on demand) without depending on the caller's bytes.
StreamPtr StreamOverCopy(const void* data, DWORD size) noexcept {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return nullptr;
    }
    void* bytes = GlobalLock(memory);
    if (bytes == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(bytes, data, size);
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || stream == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    return StreamPtr(stream);
}

}  // namespace

extern "C" {

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_CreateBitmap(int width, int height,
                                                Gdiplus::PixelFormat format) noexcept {
    return zuvo::imaging::NewBitmap(width, height, format).release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_CreateColorBmp(int width, int height,
                                                  Gdiplus::ARGB colour) noexcept {
    return zuvo::imaging::NewColourBitmap(width, height, colour).release();
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromImageBits(void* bits, int width, int height,
                                                           int stride,
                                                           Gdiplus::PixelFormat format) noexcept {
    if (bits == nullptr || width == 0 || height == 0 || stride == 0) {
        return nullptr;
    }
    return HandOver(BitmapPtr(NewGdiplusObject<Gdiplus::Bitmap>(width, height, stride, format,
                                                                static_cast<BYTE*>(bits))));
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromData(const void* data, DWORD size) noexcept {
    if (data == nullptr || size == 0) {
        return nullptr;
    }
    StreamPtr stream = StreamOverCopy(data, size);
    if (!stream) {
        return nullptr;
    }
    return HandOver(BitmapPtr(NewGdiplusObject<Gdiplus::Bitmap>(stream.get(), FALSE)));
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromResourceW(HMODULE module, const wchar_t* type,
                                                           int id) noexcept {
    const WORD resourceId = static_cast<WORD>(id & 0xFFFF);
    if (type == nullptr || resourceId == 0) {
        return nullptr;
    }
    // Pictures exist per interface language; Wine ignores the preferred UI languages that
    // FindResource goes by, so the language is chosen explicitly.
    DWORD size = 0;
    const void* bytes = zuvo::FindResourceInLanguage(module, type, MAKEINTRESOURCEW(resourceId),
                                                     zuvo::CurrentUiLanguage(), &size);
    if (bytes == nullptr) {
        return nullptr;
    }
    return Gdiplus_LoadBitmapFromData(bytes, size);
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromResourceA(HMODULE module, const char* type,
                                                           int id) noexcept {
    if (type == nullptr || id <= 0) {
        return nullptr;
    }
    // An integer type (MAKEINTRESOURCEA(10) for RT_RCDATA) is no text to convert.
    if (IS_INTRESOURCE(type)) {
        return Gdiplus_LoadBitmapFromResourceW(
            module, MAKEINTRESOURCEW(reinterpret_cast<ULONG_PTR>(type)), id);
    }
    wchar_t wide[MAX_PATH];
    if (!AnsiToWide(type, wide, MAX_PATH)) {
        return nullptr;
    }
    return Gdiplus_LoadBitmapFromResourceW(module, wide, id);
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromFileW(const wchar_t* path) noexcept {
    if (path == nullptr || !IsFileExistW(path)) {
        return nullptr;
    }
    return HandOver(BitmapPtr(NewGdiplusObject<Gdiplus::Bitmap>(path, FALSE)));
}

Gdiplus::Bitmap* ZUVO_CALL Gdiplus_LoadBitmapFromFileA(const char* path) noexcept {
    wchar_t wide[ZUVO_MAX_PATH];
    if (!AnsiToWide(path, wide, ZUVO_MAX_PATH)) {
        return nullptr;
    }
    return Gdiplus_LoadBitmapFromFileW(wide);
}

}  // extern "C"
