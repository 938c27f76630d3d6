// Picture types and encoders; creating, loading (memory, resources, files), saving and
// converting pictures.
#include <cstring>
#include <cwchar>
#include <regex>
#include <string>
#include <vector>

#include "tests/imaging/PictureSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using pictures::Owned;
using pictures::Pixels;

TEST(PictureTypes, ComeFromTheFileNameExtension) {
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameW(L"C:\\pictures\\photo.JPG"), 1);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameW(L"scan.tif"), 4);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameW(L"scan.TIFF"), 3);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameW(L"README"), 4);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameW(L"old.jpg\\picture"), 4);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameW(nullptr), 4);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameA("C:\\pictures\\photo.JPG"), 1);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameA("scan.tif"), 4);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameA("logo.bmp"), 0);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameA("noextension"), 4);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameA(nullptr), 4);
}

CLSID EncoderOf(const wchar_t* mimeType) {
    CLSID clsid{};
    EXPECT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeW(mimeType, &clsid), 1) << "no encoder";
    return clsid;
}

TEST(Encoders, OnePerPictureType) {
    const wchar_t* mimeTypes[] = {L"image/bmp", L"image/jpeg", L"image/gif", L"image/tiff",
                                  L"image/png"};
    std::vector<CLSID> found;
    for (int type = 0; type < 5; ++type) {
        CLSID clsid{};
        ASSERT_EQ(program::Gdiplus_GetEncoderClsidByPictureType(type, &clsid), 1) << type;
        EXPECT_TRUE(IsEqualCLSID(clsid, EncoderOf(mimeTypes[type]))) << type;
        for (const CLSID& other : found) {
            EXPECT_FALSE(IsEqualCLSID(clsid, other)) << "type " << type << " shares an encoder";
        }
        found.push_back(clsid);
    }
    CLSID clsid{};
    ASSERT_EQ(program::Gdiplus_GetEncoderClsidByPictureType(7, &clsid), 1);
    EXPECT_TRUE(IsEqualCLSID(clsid, EncoderOf(L"image/bmp")));
    ASSERT_EQ(program::Gdiplus_GetEncoderClsidByPictureType(-1, &clsid), 1);
    EXPECT_TRUE(IsEqualCLSID(clsid, EncoderOf(L"image/bmp")));
}

TEST(Encoders, MimeTypesIgnoreCaseInBothForms) {
    CLSID clsid{};
    ASSERT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeW(L"IMAGE/PNG", &clsid), 1);
    EXPECT_TRUE(IsEqualCLSID(clsid, EncoderOf(L"image/png")));
    ASSERT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeA("Image/Jpeg", &clsid), 1);
    EXPECT_TRUE(IsEqualCLSID(clsid, EncoderOf(L"image/jpeg")));
    EXPECT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeW(L"image/webp", &clsid), 0);
    EXPECT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeA("image/png ", &clsid), 0);
    EXPECT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeW(nullptr, &clsid), 0);
    EXPECT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeW(L"image/png", nullptr), 0);
    EXPECT_EQ(program::Gdiplus_GetEncoderClsidByFormatTypeA(nullptr, &clsid), 0);
}

TEST(Creation, EmptyAndFilledBitmaps) {
    Owned empty(program::Gdiplus_CreateBitmap(7, 5, PixelFormat24bppRGB));
    ASSERT_TRUE(empty);
    EXPECT_EQ(pictures::Width(empty.get()), 7);
    EXPECT_EQ(pictures::Height(empty.get()), 5);
    EXPECT_EQ(empty->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(program::Gdiplus_CreateBitmap(0, 5, PixelFormat32bppARGB), nullptr);
    EXPECT_EQ(program::Gdiplus_CreateBitmap(5, -1, PixelFormat32bppARGB), nullptr);

    // A translucent colour is stored as it is, not blended with anything.
    Owned filled(program::Gdiplus_CreateColorBmp(6, 4, 0x80102030));
    ASSERT_TRUE(filled);
    EXPECT_EQ(filled->GetPixelFormat(), PixelFormat32bppARGB);
    EXPECT_EQ(Pixels(filled.get()), std::vector<uint32_t>(24, 0x80102030));
    EXPECT_EQ(program::Gdiplus_CreateColorBmp(0, 0, 0xFF000000), nullptr);
}

TEST(Creation, BitmapsOverCallerMemoryShareIt) {
    std::vector<uint32_t> bits(4 * 3, 0xFF000000);
    bits[5] = 0xFF112233;
    Owned bitmap(
        program::Gdiplus_LoadBitmapFromImageBits(bits.data(), 4, 3, 16, PixelFormat32bppARGB));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(pictures::PixelAt(bitmap.get(), 1, 1), 0xFF112233u);
    bits[5] = 0xFF445566;
    EXPECT_EQ(pictures::PixelAt(bitmap.get(), 1, 1), 0xFF445566u) << "the memory is not copied";

    // A negative stride starts at the last row in memory.
    Owned upsideDown(
        program::Gdiplus_LoadBitmapFromImageBits(bits.data() + 8, 4, 3, -16, PixelFormat32bppARGB));
    ASSERT_TRUE(upsideDown);
    EXPECT_EQ(pictures::PixelAt(upsideDown.get(), 1, 1), 0xFF445566u);
    bits[9] = 0xFF778899;
    EXPECT_EQ(pictures::PixelAt(upsideDown.get(), 1, 0), 0xFF778899u);

    EXPECT_EQ(program::Gdiplus_LoadBitmapFromImageBits(nullptr, 4, 3, 16, PixelFormat32bppARGB),
              nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromImageBits(bits.data(), 0, 3, 16, PixelFormat32bppARGB),
              nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromImageBits(bits.data(), 4, 3, 0, PixelFormat32bppARGB),
              nullptr);
}

// Decodes a copy of the encoded bytes that is overwritten and freed right after the call.
Owned LoadFromFreedCopy(const std::vector<uint8_t>& encoded) {
    auto* bytes = new uint8_t[encoded.size()];
    std::memcpy(bytes, encoded.data(), encoded.size());
    Owned loaded(program::Gdiplus_LoadBitmapFromData(bytes, static_cast<DWORD>(encoded.size())));
    std::memset(bytes, 0xCD, encoded.size());
    delete[] bytes;
    // Reuse the freed memory.
    std::vector<std::vector<uint8_t>> clutter(16, std::vector<uint8_t>(encoded.size(), 0x55));
    return loaded;
}

TEST(Memory, DecodedBitmapOutlivesTheCallersBytes) {
    Owned source = pictures::Make(5, 4, pictures::Pattern);
    for (const wchar_t* mimeType : {L"image/png", L"image/bmp", L"image/tiff"}) {
        SCOPED_TRACE(std::string(mimeType, mimeType + std::wcslen(mimeType)));
        const std::vector<uint8_t> encoded = pictures::Encode(source.get(), mimeType);
        ASSERT_FALSE(encoded.empty());
        Owned loaded = LoadFromFreedCopy(encoded);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(Pixels(loaded.get()), Pixels(source.get()));
    }
    Owned indexed =
        pictures::MakeIndexed({1, 2, 2, 1}, {{1, pictures::kRed}, {2, pictures::kBlue}});
    Owned gif = LoadFromFreedCopy(pictures::Encode(indexed.get(), L"image/gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(Pixels(gif.get()), Pixels(indexed.get()));
}

TEST(Memory, RefusesWhatIsNoPicture) {
    const uint8_t garbage[] = {'n', 'o', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e', 0, 1, 2, 3};
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromData(garbage, sizeof(garbage)), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromData(nullptr, 20), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromData(garbage, 0), nullptr);
}

// The test program's pictures (imaging_test.rc): 3 x 2, red in English, green in Chinese,
// blue at id 65535, half-transparent yellow as RCDATA 7.
class Resources : public testing::Test {
protected:
    void TearDown() override { SetEnvironmentVariableW(L"ZUVO_UI_LANGUAGE", nullptr); }
    static uint32_t Colour(Gdiplus::Bitmap* bitmap) {
        EXPECT_EQ(pictures::Width(bitmap), 3);
        EXPECT_EQ(pictures::Height(bitmap), 2);
        return pictures::PixelAt(bitmap, 2, 1);
    }
    HMODULE self = GetModuleHandleW(nullptr);
};

TEST_F(Resources, PicturesComeInTheInterfaceLanguage) {
    SetEnvironmentVariableW(L"ZUVO_UI_LANGUAGE", L"en-US");
    Owned english(program::Gdiplus_LoadBitmapFromResourceW(self, L"PNG", 140));
    ASSERT_TRUE(english);
    EXPECT_EQ(Colour(english.get()), 0xFFFF0000u);

    SetEnvironmentVariableW(L"ZUVO_UI_LANGUAGE", L"zh-CN");
    Owned chinese(program::Gdiplus_LoadBitmapFromResourceW(self, L"PNG", 140));
    ASSERT_TRUE(chinese);
    EXPECT_EQ(Colour(chinese.get()), 0xFF00FF00u);

    SetEnvironmentVariableW(L"ZUVO_UI_LANGUAGE", L"fr-FR");
    Owned fallback(program::Gdiplus_LoadBitmapFromResourceA(self, "PNG", 140));
    ASSERT_TRUE(fallback);
    EXPECT_EQ(Colour(fallback.get()), 0xFFFF0000u) << "English when the language has none";
}

TEST_F(Resources, IdsUseTheirLow16Bits) {
    Owned blue(program::Gdiplus_LoadBitmapFromResourceW(self, L"PNG", -1));
    ASSERT_TRUE(blue);
    EXPECT_EQ(Colour(blue.get()), 0xFF0000FFu);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceA(self, "PNG", -1), nullptr)
        << "the narrow form takes positive ids only";
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceW(self, L"PNG", 0), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceA(self, "PNG", 0), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceW(self, L"PNG", 0x10000), nullptr);
    Owned wrapped(program::Gdiplus_LoadBitmapFromResourceA(self, "PNG", 0x10000 + 140));
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(Colour(wrapped.get()), 0xFFFF0000u);
}

TEST_F(Resources, TypesByNameOrNumberAndMissingOnes) {
    Owned yellow(program::Gdiplus_LoadBitmapFromResourceA(self, MAKEINTRESOURCEA(10), 7));
    ASSERT_TRUE(yellow);
    EXPECT_EQ(Colour(yellow.get()), 0x80FFFF00u);
    Owned same(program::Gdiplus_LoadBitmapFromResourceW(self, RT_RCDATA, 7));
    ASSERT_TRUE(same);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceW(self, nullptr, 140), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceA(self, nullptr, 140), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceW(self, L"PNG", 999), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromResourceW(self, L"GIF", 140), nullptr);
}

// A folder of its own for each test, made the working folder (the converter writes there).
class PictureFiles : public testing::Test {
protected:
    void SetUp() override {
        wchar_t previous[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, previous);
        m_previous = previous;
        ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
    }
    void TearDown() override { SetCurrentDirectoryW(m_previous.c_str()); }
    std::wstring Path(const wchar_t* name) const { return folder + L"\\" + name; }
    static std::string Narrow(const std::wstring& wide) {
        return std::string(wide.begin(), wide.end());
    }

    const zuvo::test::TempFolder temp{u8"imaging_files"};
    const std::wstring folder = temp.Wide();

private:
    std::wstring m_previous;
};

// 32 x 32 in four 16 x 16 blocks of red, green, blue and white: colours every encoder keeps,
// in blocks JPEG compresses cleanly.
Owned FourBlocks() {
    return pictures::Make(32, 32, [](int x, int y) {
        const uint32_t colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        return colours[(y / 16) * 2 + x / 16];
    });
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

struct SavedType {
    const wchar_t* name;
    std::initializer_list<uint8_t> magic;
    int tolerance;
};

TEST_F(PictureFiles, EveryTypeSavesAndReloads) {
    Owned source = FourBlocks();
    const SavedType types[] = {
        {L"picture.bmp", {'B', 'M'}, 0},
        {L"picture.jpg", {0xFF, 0xD8, 0xFF}, 24},
        {L"picture.JPEG", {0xFF, 0xD8, 0xFF}, 24},
        {L"picture.gif", {'G', 'I', 'F', '8'}, 0},
        {L"picture.tiff", {'I', 'I', 0x2A, 0x00}, 0},
        {L"picture.png", {0x89, 'P', 'N', 'G'}, 0},
        // "tif" is not a TIFF name: such a file is written as PNG.
        {L"picture.tif", {0x89, 'P', 'N', 'G'}, 0},
    };
    for (const SavedType& type : types) {
        SCOPED_TRACE(Narrow(type.name));
        const std::wstring path = Path(type.name);
        ASSERT_EQ(program::Gdiplus_SaveBitmapToFileW(source.get(), path.c_str()), 1);
        EXPECT_TRUE(StartsWith(pictures::FileBytes(path), type.magic)) << "wrong encoder";
        Owned reloaded(program::Gdiplus_LoadBitmapFromFileW(path.c_str()));
        ASSERT_TRUE(reloaded);
        ASSERT_EQ(pictures::Width(reloaded.get()), 32);
        ASSERT_EQ(pictures::Height(reloaded.get()), 32);
        for (int y = 4; y < 32; y += 8) {
            for (int x = 4; x < 32; x += 8) {
                EXPECT_TRUE(pictures::Near(pictures::PixelAt(reloaded.get(), x, y),
                                           pictures::PixelAt(source.get(), x, y), type.tolerance))
                    << x << ", " << y;
            }
        }
    }
}

TEST_F(PictureFiles, NarrowPathsSaveAndLoadToo) {
    Owned source = FourBlocks();
    const std::string path = Narrow(Path(L"narrow.bmp"));
    ASSERT_EQ(program::Gdiplus_SaveBitmapToFileA(source.get(), path.c_str()), 1);
    Owned reloaded(program::Gdiplus_LoadBitmapFromFileA(path.c_str()));
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(Pixels(reloaded.get()), Pixels(source.get()));
}

// A non-ASCII character this system's ANSI code page can hold, as wide and narrow text.
bool AnsiOnlyCharacter(std::wstring* wide, std::string* narrow) {
    // The euro sign is 0x80 in Western code pages, where reading bytes as Latin-1 would give
    // another character; the others serve CJK code pages.
    for (const wchar_t* candidate : {L"\u20AC", L"\u4E2D", L"\u00E9"}) {
        char bytes[8] = {};
        BOOL lossy = FALSE;
        const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, candidate, -1, bytes,
                                               sizeof(bytes), nullptr, &lossy);
        if (length > 0 && !lossy) {
            *wide = candidate;
            *narrow = bytes;
            return true;
        }
    }
    return false;
}

TEST_F(PictureFiles, NarrowPathsUseTheAnsiCodePage) {
    std::wstring wide;
    std::string narrow;
    ASSERT_TRUE(AnsiOnlyCharacter(&wide, &narrow)) << "no non-ASCII character in the code page";
    Owned source = FourBlocks();
    const std::string narrowPath = Narrow(folder) + "\\" + narrow + ".png";
    ASSERT_EQ(program::Gdiplus_SaveBitmapToFileA(source.get(), narrowPath.c_str()), 1);
    EXPECT_NE(GetFileAttributesW((folder + L"\\" + wide + L".png").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the narrow name means the wide one";
    Owned reloaded(program::Gdiplus_LoadBitmapFromFileA(narrowPath.c_str()));
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(program::Gdiplus_GetPictureTypeByFileNameA(narrowPath.c_str()), 4);
}

TEST_F(PictureFiles, FailuresAnswerNothing) {
    Owned source = FourBlocks();
    const std::wstring nowhere = Path(L"missing-folder\\picture.png");
    EXPECT_EQ(program::Gdiplus_SaveBitmapToFileW(source.get(), nowhere.c_str()), 0);
    EXPECT_NE(program::Gdiplus_BitmapLastError(source.get()), Gdiplus::Ok)
        << "the failed save leaves its status in the bitmap";
    EXPECT_EQ(program::Gdiplus_SaveBitmapToFileW(nullptr, Path(L"x.png").c_str()), 0);
    EXPECT_EQ(program::Gdiplus_SaveBitmapToFileW(source.get(), nullptr), 0);
    EXPECT_EQ(program::Gdiplus_SaveBitmapToFileA(source.get(), nullptr), 0);

    EXPECT_EQ(program::Gdiplus_LoadBitmapFromFileW(Path(L"absent.png").c_str()), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromFileW(nullptr), nullptr);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromFileA(nullptr), nullptr);
    const std::wstring text = Path(L"text.png");
    FILE* file = _wfopen(text.c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a picture", file);
    std::fclose(file);
    EXPECT_EQ(program::Gdiplus_LoadBitmapFromFileW(text.c_str()), nullptr);
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(PictureFiles, ConvertingWritesADatedFileOfTheType) {
    Owned source = FourBlocks();
    const std::wstring original = Path(L"original.png");
    ASSERT_EQ(program::Gdiplus_SaveBitmapToFileW(source.get(), original.c_str()), 1);

    struct Conversion {
        int type;
        const wchar_t* extension;
        std::initializer_list<uint8_t> magic;
    };
    const Conversion conversions[] = {
        {1, L"jpg", {0xFF, 0xD8, 0xFF}},   {3, L"tif", {'I', 'I', 0x2A, 0x00}},
        {0, L"bmp", {'B', 'M'}},           {9, L"bmp", {'B', 'M'}},
        {2, L"gif", {'G', 'I', 'F', '8'}}, {4, L"png", {0x89, 'P', 'N', 'G'}},
    };
    std::vector<std::wstring> names;
    for (const Conversion& conversion : conversions) {
        SCOPED_TRACE(conversion.type);
        wchar_t name[MAX_PATH] = L"";
        ASSERT_EQ(program::Gdiplus_ConvertImageFormatW(original.c_str(), name, conversion.type), 1);
        const std::wregex form(std::wstring(L"Temp_\\d{8}_\\d{6}(_\\d{3})?\\.") +
                               conversion.extension);
        EXPECT_TRUE(std::regex_match(name, form)) << Narrow(name);
        EXPECT_TRUE(FileExists(Path(name))) << "lands in the working folder";
        EXPECT_TRUE(StartsWith(pictures::FileBytes(Path(name)), conversion.magic));
        names.emplace_back(name);
    }
    // Two conversions to BMP within the same second keep both files.
    EXPECT_NE(names[2], names[3]);
}

TEST_F(PictureFiles, ConvertingNamesTheFileEvenWhenTheSourceIsMissing) {
    wchar_t name[MAX_PATH] = L"";
    EXPECT_EQ(program::Gdiplus_ConvertImageFormatW(Path(L"absent.png").c_str(), name, 4), 0);
    EXPECT_TRUE(std::regex_match(name, std::wregex(L"Temp_.*\\.png")));
    EXPECT_FALSE(FileExists(Path(name)));
    EXPECT_EQ(program::Gdiplus_ConvertImageFormatW(nullptr, name, 4), 0);
    EXPECT_EQ(program::Gdiplus_ConvertImageFormatW(Path(L"absent.png").c_str(), nullptr, 4), 0);
    EXPECT_EQ(program::Gdiplus_ConvertImageFormatA(nullptr, nullptr, 4), 0);
}

TEST_F(PictureFiles, ConvertingWithNarrowNames) {
    Owned source = FourBlocks();
    const std::wstring original = Path(L"original.bmp");
    ASSERT_EQ(program::Gdiplus_SaveBitmapToFileW(source.get(), original.c_str()), 1);
    char name[MAX_PATH] = "";
    ASSERT_EQ(program::Gdiplus_ConvertImageFormatA(Narrow(original).c_str(), name, 2), 1);
    EXPECT_TRUE(std::regex_match(name, std::regex("Temp_\\d{8}_\\d{6}(_\\d{3})?\\.gif"))) << name;
    Owned converted(program::Gdiplus_LoadBitmapFromFileA(name));
    ASSERT_TRUE(converted);
    EXPECT_EQ(pictures::PixelAt(converted.get(), 20, 4), 0xFF00FF00u);
}

}  // namespace
