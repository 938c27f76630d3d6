// Saving bitmaps as picture files and converting picture files to another type.
#include <cwchar>

#include "ZUVO_Common.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"

using zuvo::imaging::AnsiToWide;
using zuvo::imaging::WideToAnsi;

namespace {

// The converter's new file name: "Temp_" + date and time + "." + the type's extension.
// Numbered when this process already gave the same name, so that two conversions within one
// second do not write over each other's file.
bool ConvertedFileName(wchar_t* name, zuvo::imaging::PictureType type) {
    wchar_t extension[16];
    std::swprintf(extension, 16, L".%ls", zuvo::imaging::PictureExtension(type));
    return GetFileNameByDateW(name, extension, L"Temp_", L"", 0, 1, 0) > 0;
}

// Saves the bitmap with the encoder of the type; the status of a failure is left in the bitmap.
bool SaveAs(Gdiplus::Bitmap* bitmap, const wchar_t* path, zuvo::imaging::PictureType type) {
    CLSID encoder;
    if (!Gdiplus_GetEncoderClsidByPictureType(type, &encoder)) {
        return false;
    }
    // Wine's GIF encoder writes an empty picture, and reports success, for anything but 8-bit
    // indexed pixels; Windows reduces such pictures to its halftone palette itself. An 8-bit
    // copy (GDI+'s own conversion to that palette) gives the same file on both.
    if (type == zuvo::imaging::PictureGif && (bitmap->GetPixelFormat() & PixelFormatIndexed) == 0) {
        int width = 0;
        int height = 0;
        if (!zuvo::imaging::BitmapSize(bitmap, &width, &height)) {
            return false;
        }
        zuvo::imaging::BitmapPtr indexed(
            bitmap->Clone(Gdiplus::Rect(0, 0, width, height), PixelFormat8bppIndexed));
        if (!indexed) {
            return false;
        }
        if (indexed->Save(path, &encoder, nullptr) == Gdiplus::Ok) {
            return true;
        }
        // Failing again on the bitmap itself leaves the reason (a folder that does not
        // exist, a full disk) as its last status.
    }
    return bitmap->Save(path, &encoder, nullptr) == Gdiplus::Ok;
}

}  // namespace

extern "C" {

int ZUVO_CALL Gdiplus_SaveBitmapToFileW(Gdiplus::Bitmap* bitmap, const wchar_t* path) noexcept {
    if (bitmap == nullptr || path == nullptr) {
        return 0;
    }
    const auto type =
        static_cast<zuvo::imaging::PictureType>(Gdiplus_GetPictureTypeByFileNameW(path));
    return SaveAs(bitmap, path, type) ? 1 : 0;
}

int ZUVO_CALL Gdiplus_SaveBitmapToFileA(Gdiplus::Bitmap* bitmap, const char* path) noexcept {
    wchar_t wide[ZUVO_MAX_PATH];
    if (!AnsiToWide(path, wide, ZUVO_MAX_PATH)) {
        return 0;
    }
    return Gdiplus_SaveBitmapToFileW(bitmap, wide);
}

int ZUVO_CALL Gdiplus_ConvertImageFormatW(const wchar_t* sourcePath, wchar_t* newName,
                                          int pictureType) noexcept {
    if (sourcePath == nullptr || newName == nullptr) {
        return 0;
    }
    const zuvo::imaging::PictureType type = zuvo::imaging::PictureTypeFromValue(pictureType);
    if (!ConvertedFileName(newName, type)) {
        return 0;
    }
    zuvo::imaging::BitmapPtr bitmap(Gdiplus_LoadBitmapFromFileW(sourcePath));
    if (!bitmap) {
        return 0;
    }
    return SaveAs(bitmap.get(), newName, type) ? 1 : 0;
}

int ZUVO_CALL Gdiplus_ConvertImageFormatA(const char* sourcePath, char* newName,
                                          int pictureType) noexcept {
    wchar_t wideSource[ZUVO_MAX_PATH];
    if (newName == nullptr || !AnsiToWide(sourcePath, wideSource, ZUVO_MAX_PATH)) {
        return 0;
    }
    wchar_t wideName[ZUVO_MAX_PATH] = L"";
    const int result = Gdiplus_ConvertImageFormatW(wideSource, wideName, pictureType);
    if (wideName[0] != L'\0') {
        // The name stays empty rather than cut when it does not fit the caller's buffer, and
        // rather than a look-alike, which would name another file, when the code page cannot
        // hold it.
        if (!WideToAnsi(wideName, newName, ZUVO_MAX_PATH)) {
            newName[0] = '\0';
            return 0;
        }
    }
    return result;
}

}  // extern "C"
