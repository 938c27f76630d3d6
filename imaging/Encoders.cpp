// Picture types of file names and the image encoders that write them.
#include <cwchar>
#include <memory>
#include <new>

#include "ZUVO_Common.h"
#include "imaging/GdiplusHelpers.h"
#include "imaging/GdiplusSupport.h"

using zuvo::imaging::AnsiToWide;

namespace {

// Longest MIME type or path converted from narrow text, with its terminating zero.
constexpr int kTextCapacity = MAX_PATH;

}  // namespace

extern "C" {

int ZUVO_CALL Gdiplus_GetEncoderClsidByFormatTypeW(const wchar_t* mimeType, CLSID* clsid) noexcept {
    if (mimeType == nullptr || clsid == nullptr) {
        return 0;
    }
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 ||
        bytes < count * sizeof(Gdiplus::ImageCodecInfo)) {
        return 0;
    }
    // The list and the strings it points to share one block.
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[bytes]);
    if (!block) {
        return 0;
    }
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.get());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) {
        return 0;
    }
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType != nullptr && _wcsicmp(codecs[i].MimeType, mimeType) == 0) {
            *clsid = codecs[i].Clsid;
            return 1;
        }
    }
    return 0;
}

int ZUVO_CALL Gdiplus_GetEncoderClsidByFormatTypeA(const char* mimeType, CLSID* clsid) noexcept {
    wchar_t wide[kTextCapacity];
    if (!AnsiToWide(mimeType, wide, kTextCapacity)) {
        return 0;
    }
    return Gdiplus_GetEncoderClsidByFormatTypeW(wide, clsid);
}

int ZUVO_CALL Gdiplus_GetEncoderClsidByPictureType(int pictureType, CLSID* clsid) noexcept {
    using namespace zuvo::imaging;
    return Gdiplus_GetEncoderClsidByFormatTypeW(PictureMimeType(PictureTypeFromValue(pictureType)),
                                                clsid);
}

int ZUVO_CALL Gdiplus_GetPictureTypeByFileNameW(const wchar_t* path) noexcept {
    wchar_t extension[ZUVO_MAX_PATH] = L"";
    GetFileExtNameW(path, extension, ZUVO_MAX_PATH);
    return zuvo::imaging::PictureTypeFromExtension(extension);
}

int ZUVO_CALL Gdiplus_GetPictureTypeByFileNameA(const char* path) noexcept {
    char narrow[ZUVO_MAX_PATH] = "";
    wchar_t extension[ZUVO_MAX_PATH] = L"";
    if (GetFileExtNameA(path, narrow, ZUVO_MAX_PATH) > 0) {
        AnsiToWide(narrow, extension, ZUVO_MAX_PATH);
    }
    return zuvo::imaging::PictureTypeFromExtension(extension);
}

}  // extern "C"
