#include "imaging/PictureTypes.h"

namespace zuvo::imaging {

namespace {

struct TypeInfo {
    const wchar_t* mimeType;
    const wchar_t* extension;
};

// Indexed by PictureType.
constexpr TypeInfo kTypes[] = {
    {L"image/bmp", L"bmp"},  {L"image/jpeg", L"jpg"}, {L"image/gif", L"gif"},
    {L"image/tiff", L"tif"}, {L"image/png", L"png"},
};

struct ExtensionType {
    const wchar_t* extension;
    PictureType type;
};

constexpr ExtensionType kExtensions[] = {
    {L"bmp", PictureBmp}, {L"jpeg", PictureJpeg}, {L"jpg", PictureJpeg},
    {L"gif", PictureGif}, {L"tiff", PictureTiff},
};

wchar_t AsciiLower(wchar_t ch) {
    return ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
}

// lower must be lower case already.
bool EqualsIgnoringCase(const wchar_t* text, const wchar_t* lower) {
    for (; *text != L'\0' && *lower != L'\0'; ++text, ++lower) {
        if (AsciiLower(*text) != *lower) {
            return false;
        }
    }
    return *text == L'\0' && *lower == L'\0';
}

}  // namespace

PictureType PictureTypeFromExtension(const wchar_t* extension) {
    if (extension != nullptr) {
        for (const ExtensionType& entry : kExtensions) {
            if (EqualsIgnoringCase(extension, entry.extension)) {
                return entry.type;
            }
        }
    }
    return PicturePng;
}

PictureType PictureTypeFromValue(int value) {
    return value >= PictureJpeg && value <= PicturePng ? static_cast<PictureType>(value)
                                                       : PictureBmp;
}

const wchar_t* PictureMimeType(PictureType type) {
    return kTypes[PictureTypeFromValue(type)].mimeType;
}

const wchar_t* PictureExtension(PictureType type) {
    return kTypes[PictureTypeFromValue(type)].extension;
}

}  // namespace zuvo::imaging
