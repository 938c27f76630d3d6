// Picture types from file name extensions and caller values, and what each type is written as.
#include <cwchar>
#include <ostream>

#include <gtest/gtest.h>

#include "imaging/PictureTypes.h"

namespace zuvo::imaging {
namespace {

struct ExtensionCase {
    const char* name;
    const wchar_t* extension;
    PictureType type;
};

void PrintTo(const ExtensionCase& c, std::ostream* out) {
    *out << c.name;
}

class ExtensionTable : public testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionTable, MapsWithoutRegardToCase) {
    EXPECT_EQ(PictureTypeFromExtension(GetParam().extension), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, ExtensionTable,
    testing::Values(
        ExtensionCase{"bmp", L"bmp", PictureBmp}, ExtensionCase{"BMP", L"BMP", PictureBmp},
        ExtensionCase{"jpg", L"jpg", PictureJpeg}, ExtensionCase{"JPG", L"JPG", PictureJpeg},
        ExtensionCase{"Jpeg", L"Jpeg", PictureJpeg}, ExtensionCase{"gif", L"gif", PictureGif},
        ExtensionCase{"tiff", L"tiff", PictureTiff}, ExtensionCase{"TIFF", L"TIFF", PictureTiff},
        // Only "tiff" means TIFF; everything unknown is PNG.
        ExtensionCase{"tif", L"tif", PicturePng}, ExtensionCase{"png", L"png", PicturePng},
        ExtensionCase{"webp", L"webp", PicturePng}, ExtensionCase{"Empty", L"", PicturePng},
        ExtensionCase{"Null", nullptr, PicturePng}, ExtensionCase{"jpgx", L"jpgx", PicturePng},
        ExtensionCase{"jp", L"jp", PicturePng}),
    [](const testing::TestParamInfo<ExtensionCase>& param) { return param.param.name; });

TEST(PictureTypes, ValuesOutsideTheTableMeanBmp) {
    EXPECT_EQ(PictureTypeFromValue(-1), PictureBmp);
    EXPECT_EQ(PictureTypeFromValue(0), PictureBmp);
    EXPECT_EQ(PictureTypeFromValue(1), PictureJpeg);
    EXPECT_EQ(PictureTypeFromValue(4), PicturePng);
    EXPECT_EQ(PictureTypeFromValue(5), PictureBmp);
    EXPECT_EQ(PictureTypeFromValue(7), PictureBmp);
}

TEST(PictureTypes, MimeTypesAndWrittenExtensions) {
    EXPECT_STREQ(PictureMimeType(PictureBmp), L"image/bmp");
    EXPECT_STREQ(PictureMimeType(PictureJpeg), L"image/jpeg");
    EXPECT_STREQ(PictureMimeType(PictureGif), L"image/gif");
    EXPECT_STREQ(PictureMimeType(PictureTiff), L"image/tiff");
    EXPECT_STREQ(PictureMimeType(PicturePng), L"image/png");
    EXPECT_STREQ(PictureMimeType(static_cast<PictureType>(7)), L"image/bmp");
    EXPECT_STREQ(PictureExtension(PictureJpeg), L"jpg");
    EXPECT_STREQ(PictureExtension(PictureTiff), L"tif");
    EXPECT_STREQ(PictureExtension(static_cast<PictureType>(-3)), L"bmp");
}

}  // namespace
}  // namespace zuvo::imaging
