// Picture file types: which encoder writes them and which file name extensions mean them.
// Portable.
#pragma once

namespace zuvo::imaging {

enum PictureType {
    PictureBmp = 0,
    PictureJpeg = 1,
    PictureGif = 2,
    PictureTiff = 3,
    PicturePng = 4,
};

// The type a file name extension (without the dot) stands for, compared without regard to
// ASCII case: "bmp", "jpeg"/"jpg", "gif", "tiff"; PNG for anything else, including no
// extension and "tif".
PictureType PictureTypeFromExtension(const wchar_t* extension);

// A picture type value as given by a caller: values outside 1 .. 4 mean BMP.
PictureType PictureTypeFromValue(int value);

// MIME type of the encoder for the type ("image/png", ...).
const wchar_t* PictureMimeType(PictureType type);

// Extension the converter gives files of the type, without the dot ("tif" for TIFF).
const wchar_t* PictureExtension(PictureType type);

}  // namespace zuvo::imaging
