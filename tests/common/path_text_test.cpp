// Path text. Expected paths are written with '|' for the platform's separator, so the same
// tables hold on Windows ('\') and elsewhere ('/').
#include <cwchar>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "ZUVO_CommonCoreExtras.h"

namespace {

std::wstring Native(std::wstring path) {
    for (wchar_t& ch : path) {
        ch = ch == L'|' ? ZUVO_PATH_SEPARATOR : ch;
    }
    return path;
}

std::string NativeA(std::string path) {
    for (char& ch : path) {
        ch = ch == '|' ? static_cast<char>(ZUVO_PATH_SEPARATOR) : ch;
    }
    return path;
}

struct CombineCase {
    const char* label;
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* expected;
};

void PrintTo(const CombineCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.folder) << " and " << ::testing::PrintToString(c.name);
}

class CombineTest : public ::testing::TestWithParam<CombineCase> {};

TEST_P(CombineTest, OneSeparatorBetween) {
    const CombineCase& c = GetParam();
    wchar_t out[ZUVO_MAX_PATH];
    const std::wstring expected = Native(c.expected);
    EXPECT_EQ(CombinePathNameW(out, c.folder, c.name), static_cast<int>(expected.size()));
    EXPECT_EQ(std::wstring(out), expected);
    wchar_t inPlace[ZUVO_MAX_PATH];
    std::wcscpy(inPlace, c.folder);
    CombinePathNameW(inPlace, inPlace, c.name);
    EXPECT_EQ(std::wstring(inPlace), expected) << "out may be the folder buffer";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CombineTest,
    ::testing::Values(
        CombineCase{"AddsTheSeparator", L"C:\\data", L"file.txt", L"C:\\data|file.txt"},
        CombineCase{"FolderEndsInABackslash", L"C:\\data\\", L"file.txt", L"C:\\data\\file.txt"},
        CombineCase{"FolderEndsInASlash", L"/home/u/", L"file.txt", L"/home/u/file.txt"},
        CombineCase{"NameStartsWithABackslash", L"C:\\data", L"\\file.txt", L"C:\\data|file.txt"},
        CombineCase{"EmptyFolder", L"", L"file.txt", L"file.txt"}),
    [](const ::testing::TestParamInfo<CombineCase>& row) { return std::string(row.param.label); });

TEST(CombinePath, RefusesWhatDoesNotFit) {
    const std::wstring folder(250, L'f');
    wchar_t out[ZUVO_MAX_PATH] = L"unchanged";
    EXPECT_EQ(CombinePathNameW(out, folder.c_str(), L"123456789"), 0);
    EXPECT_STREQ(out, L"unchanged");
    EXPECT_EQ(CombinePathNameW(out, folder.c_str(), L"12345678"), 259);  // 259 + terminator
    EXPECT_EQ(CombinePathNameW(nullptr, L"a", L"b"), 0);
    EXPECT_EQ(CombinePathNameW(out, nullptr, L"b"), 0);
}

struct AbsoluteCase {
    const char* name;
    const char* path;
    const char* base;
    const char* expected;
};

void PrintTo(const AbsoluteCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.path) << " from " << ::testing::PrintToString(c.base);
}

class AbsoluteTest : public ::testing::TestWithParam<AbsoluteCase> {};

TEST_P(AbsoluteTest, Resolves) {
    const AbsoluteCase& c = GetParam();
    char out[ZUVO_MAX_PATH];
    const std::string expected = NativeA(c.expected);
    EXPECT_EQ(GetFileAbsolutePathA(out, c.path, c.base), static_cast<int>(expected.size()));
    EXPECT_EQ(std::string(out), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AbsoluteTest,
    ::testing::Values(
        AbsoluteCase{"JoinsTheBase", "sub\\file.txt", "C:\\prog", "C:|prog|sub|file.txt"},
        AbsoluteCase{"DotDotClimbsOneFolder", "..\\x", "C:\\prog\\bin", "C:|prog|x"},
        AbsoluteCase{"SlashesAndDots", "./a/../b", "C:\\prog\\", "C:|prog|b"},
        AbsoluteCase{"DrivePathIgnoresTheBase", "D:\\data\\.\\a\\..\\b", "C:\\prog", "D:|data|b"},
        AbsoluteCase{"NetworkPath", "\\\\srv\\share\\..\\x", "C:\\prog", "||srv|share|x"},
        AbsoluteCase{"RootedPathIgnoresTheBase", "/abs/./x", "C:\\prog", "|abs|x"},
        AbsoluteCase{"ClimbingStopsAtTheDrive", "a/b/../../..", "C:\\", "C:|"},
        AbsoluteCase{"DotDotAtTheDriveRootStays", "C:\\..\\a", "D:\\x", "C:|a"},
        AbsoluteCase{"RelativeBase", "x", "rel", "rel|x"},
        AbsoluteCase{"EmptyBaseKeepsDotDot", "..\\a", "", "..|a"},
        AbsoluteCase{"NothingLeftIsDot", "a\\..", "", "."},
        AbsoluteCase{"NoBaseDropsTheTrailingSeparator", "C:\\prog\\", nullptr, "C:|prog"},
        AbsoluteCase{"EmptyPathIsTheBase", "", "C:\\prog", "C:|prog"}),
    [](const ::testing::TestParamInfo<AbsoluteCase>& row) { return std::string(row.param.name); });

TEST(AbsolutePath, LengthLimit) {
    char out[ZUVO_MAX_PATH] = "unchanged";
    const std::string tooLong = "C:\\" + std::string(300, 'a');
    EXPECT_EQ(GetFileAbsolutePathA(out, tooLong.c_str(), nullptr), 0);
    EXPECT_STREQ(out, "unchanged");
    std::string detour = "C:\\";
    for (int i = 0; i < 100; ++i) {
        detour += "abc\\..\\";  // 700 characters that resolve to almost nothing
    }
    detour += "end";
    EXPECT_EQ(GetFileAbsolutePathA(out, detour.c_str(), nullptr), 6);
    EXPECT_EQ(std::string(out), NativeA("C:|end"));
    EXPECT_EQ(GetFileAbsolutePathA(nullptr, "a", "b"), 0);
}

struct RelativeCase {
    const char* name;
    const wchar_t* path;
    const wchar_t* base;
    const wchar_t* expected;  // null: the answer is path itself
};

void PrintTo(const RelativeCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.path) << " from " << ::testing::PrintToString(c.base);
}

class RelativeTest : public ::testing::TestWithParam<RelativeCase> {};

TEST_P(RelativeTest, RelativeText) {
    const RelativeCase& c = GetParam();
    const wchar_t* answer = GetFileRelativePathW(c.path, c.base);
    if (c.expected == nullptr) {
        EXPECT_EQ(answer, c.path);
    } else {
        EXPECT_STREQ(answer, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RelativeTest,
    ::testing::Values(
        RelativeCase{"InsideTheBase", L"C:\\prog\\SaveData", L"C:\\prog", L"SaveData"},
        RelativeCase{"CaseIsIgnored", L"c:\\PROG\\Save\\x.bin", L"C:\\prog\\", L"Save\\x.bin"},
        RelativeCase{"ForwardSlashes", L"C:/prog/x", L"C:\\prog", L"x"},
        RelativeCase{"TheBaseItselfIsDot", L"C:\\prog", L"C:\\prog", L"."},
        RelativeCase{"TheBaseWithASeparatorIsDot", L"C:\\prog\\", L"C:\\prog", L"."},
        RelativeCase{"LongerFolderNameIsOutside", L"C:\\prog2\\x", L"C:\\prog", nullptr},
        RelativeCase{"ShorterThanTheBase", L"C:\\pr", L"C:\\prog", nullptr},
        RelativeCase{"OtherDrive", L"D:\\x", L"C:\\prog", nullptr},
        RelativeCase{"EmptyBase", L"x", L"", nullptr}),
    [](const ::testing::TestParamInfo<RelativeCase>& row) { return std::string(row.param.name); });

TEST(RelativePath, PointsIntoThePath) {
    const wchar_t* path = L"C:\\prog\\SaveData";
    EXPECT_EQ(GetFileRelativePathW(path, L"C:\\prog"), path + 8);
    EXPECT_EQ(GetFileRelativePathW(nullptr, L"C:\\"), nullptr);
    EXPECT_EQ(GetFileRelativePathW(path, nullptr), nullptr);
}

struct ExtensionCase {
    const char* name;
    const char* path;
    int outSize;
    const char* expected;
};

void PrintTo(const ExtensionCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.path) << " into " << c.outSize << " characters";
}

class ExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(ExtensionTest, NarrowAndWideAgree) {
    const ExtensionCase& c = GetParam();
    char out[32] = "junk";
    const int length = static_cast<int>(std::string(c.expected).size());
    EXPECT_EQ(GetFileExtNameA(c.path, out, c.outSize), length);
    EXPECT_STREQ(out, c.expected);
    const std::string narrow = c.path;
    const std::wstring wide(narrow.begin(), narrow.end());
    wchar_t wideOut[32] = L"junk";
    EXPECT_EQ(GetFileExtNameW(wide.c_str(), wideOut, c.outSize), length);
    const std::string expected = c.expected;
    EXPECT_EQ(std::wstring(wideOut), std::wstring(expected.begin(), expected.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtensionTest,
    ::testing::Values(ExtensionCase{"AfterTheDot", "photo.jpeg", 32, "jpeg"},
                      ExtensionCase{"OnlyTheLastOne", "archive.tar.gz", 32, "gz"},
                      ExtensionCase{"NothingBeforeTheDot", ".JPG", 32, "JPG"},
                      ExtensionCase{"NoDot", "noext", 32, ""},
                      ExtensionCase{"DotBeforeABackslash", "a.b\\c", 32, ""},
                      ExtensionCase{"DotInTheFolderOnly", "dir.x\\file", 32, ""},
                      ExtensionCase{"DotInTheFolderAndTheFile", "dir.x/file.txt", 32, "txt"},
                      ExtensionCase{"TrailingDot", "file.", 32, ""},
                      ExtensionCase{"JustFits", "photo.jpeg", 5, "jpeg"},
                      ExtensionCase{"NoRoomForTheTerminator", "photo.jpeg", 4, ""}),
    [](const ::testing::TestParamInfo<ExtensionCase>& row) { return std::string(row.param.name); });

TEST(Extension, NullArguments) {
    char out[8];
    EXPECT_EQ(GetFileExtNameA(nullptr, out, 8), 0);
    EXPECT_EQ(GetFileExtNameA("a.b", nullptr, 8), 0);
    EXPECT_EQ(GetFileExtNameA("a.b", out, 0), 0);
}

}  // namespace
