// The main window's full-screen look: controls stretched from the template to the screen,
// every button showing its own picture for its state, and the buttons' rounded corners showing
// the window around them, in both languages (the corners also at 150 %, Scale150.*).
#include <gtest/gtest.h>

#include <objidl.h>

#include <gdiplus.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ProgramDriver.h"

namespace {

using zuvo::test::Capture;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

// ZUVO_MTT.exe's resources, read as data.
class ProgramResources {
public:
    explicit ProgramResources(const std::wstring& program)
        : m_module(LoadLibraryExW(program.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ProgramResources() {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }
    HMODULE Module() const { return m_module; }

    std::unique_ptr<Gdiplus::Bitmap> Picture(int id, WORD language) const {
        HRSRC found = FindResourceExW(m_module, L"PNG", MAKEINTRESOURCEW(id), language);
        if (found == nullptr) {
            return nullptr;
        }
        const void* bytes = LockResource(LoadResource(m_module, found));
        IStream* stream =
            SHCreateMemStream(static_cast<const BYTE*>(bytes), SizeofResource(m_module, found));
        if (stream == nullptr) {
            return nullptr;
        }
        std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromStream(stream));
        stream->Release();
        return picture;
    }

private:
    HMODULE m_module;
};

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

std::string Settings(const char* language) {
    return std::string("<?xml version=\"1.0\"?>\n<AppConfig Language=\"") + language +
           "\" ObjectCountType=\"1\" />\n";
}

// The interface languages: the setting, the pictures' resource language, the ending of the
// screenshots' names and the caption of the detection result.
struct InterfaceLanguage {
    const char* setting;
    WORD language;
    const wchar_t* suffix;
    const wchar_t* prompt;
};
const InterfaceLanguage kLanguages[] = {{"ENG", kEnglish, L"en", L"Prompt"},
                                        {"CHS", kChinese, L"zh", L"\u63D0\u793A"}};

// Detect Device finds the emulator: the result is confirmed and Start becomes available.
void DetectTheEmulator(const RunningProgram& program, const InterfaceLanguage& language) {
    ASSERT_FALSE(zuvo::test::DetectDevice(program, language.prompt).empty());
    ASSERT_TRUE(
        RunningProgram::WaitUntil([&] { return program.IsEnabled(IDC_START_STOP); }, 10000));
}

// Compares a button on the screen with its picture at points clear of the caption: the
// picture is stretched over the whole button.
void ExpectButtonShows(const RunningProgram& program, int buttonId, const Gdiplus::Bitmap& picture,
                       const char* what) {
    SCOPED_TRACE(what);
    RECT client;
    const HWND button = program.Control(buttonId);
    GetClientRect(button, &client);
    const double spots[][2] = {{0.5, 0.1}, {0.5, 0.92}, {0.08, 0.5}, {0.92, 0.5}, {0.25, 0.12}};
    for (const auto& spot : spots) {
        Gdiplus::Color expected;
        Gdiplus::Bitmap& source = const_cast<Gdiplus::Bitmap&>(picture);
        source.GetPixel(static_cast<INT>(spot[0] * source.GetWidth()),
                        static_cast<INT>(spot[1] * source.GetHeight()), &expected);
        if (expected.GetA() < 255) {
            continue;  // rounded corners show what is behind
        }
        const COLORREF seen =
            zuvo::test::ClientPixel(button, static_cast<int>(spot[0] * client.right),
                                    static_cast<int>(spot[1] * client.bottom));
        const int difference = std::abs(GetRValue(seen) - expected.GetR()) +
                               std::abs(GetGValue(seen) - expected.GetG()) +
                               std::abs(GetBValue(seen) - expected.GetB());
        EXPECT_LT(difference, 60) << "button " << buttonId << " at (" << spot[0] << ", " << spot[1]
                                  << "): seen " << std::hex << seen;
    }
}

class Appearance : public testing::Test {
protected:
    static std::wstring ProgramFile(const ProgramFolder& folder) {
        return folder.File(L"ZUVO_MTT.exe");
    }
};

TEST_F(Appearance, ControlsStretchFromTheTemplateToTheScreen) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.Write(L"appConfig.xml", Settings("ENG")));
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);

    // The template as the program's dialog manager lays it out, made here from the same
    // resource with the same fonts.
    ProgramResources resources(ProgramFile(folder));
    ASSERT_NE(resources.Module(), nullptr);
    HRSRC found = FindResourceExW(resources.Module(), RT_DIALOG,
                                  MAKEINTRESOURCEW(IDD_ZUVO_MTT_DIALOG), kEnglish);
    ASSERT_NE(found, nullptr);
    auto* dialogTemplate =
        static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(resources.Module(), found)));
    WNDCLASSEXW dialogClass{};
    dialogClass.cbSize = sizeof(dialogClass);
    ASSERT_TRUE(GetClassInfoExW(nullptr, L"#32770", &dialogClass));
    dialogClass.hInstance = GetModuleHandleW(nullptr);
    dialogClass.lpszClassName = L"ZUVO_MTT";
    RegisterClassExW(&dialogClass);
    const zuvo::UniqueWindow original(CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), dialogTemplate, nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0));
    ASSERT_TRUE(original);
    ShowWindow(original.get(), SW_HIDE);
    RECT templateClient;
    GetClientRect(original.get(), &templateClient);

    // With its 9-point font the template has dialog base units of 7 x 14 pixels here, so it
    // lays out at 740 x 420 (423 x 7 / 4 = 740.25, 240 x 14 / 8); a control's position and
    // size are each rounded from dialog units. The test screen is 1920 x 1080: the factors
    // are 1920 / 740 = 2.594594... across and 1080 / 420 = 2.571428... down, and each corner
    // is scaled and truncated on its own. The sector view (69, 59, 352 x 178 units) sits at
    // left 69 x 7 / 4 = 120.75 -> 121, top 59 x 14 / 8 = 103.25 -> 103, width 616, height
    // 311.5 -> 312, so (121, 103) - (737, 415) in the template; on the screen left
    // 121 x 2.5946 = 313.95 -> 313, top 103 x 2.5714 = 264.86 -> 264, right
    // 737 x 2.5946 = 1912.22 -> 1912, bottom 415 x 2.5714 = 1067.14 -> 1067: 1599 x 803.
    ASSERT_EQ(templateClient.right, 740);
    ASSERT_EQ(templateClient.bottom, 420);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the test screen's size";
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080) << "the test screen's size";
    struct Placement {
        int x;
        int y;
        int width;
        int height;
    };
    const struct {
        int id;
        RECT inTemplate;     // in the template's client pixels
        Placement onScreen;  // in the main window's client pixels
    } controls[] = {
        {IDC_TITLE, {5, 0, 257, 28}, {12, 0, 654, 72}},
        {IDC_CLOSE, {714, 0, 737, 23}, {1852, 0, 60, 59}},
        {IDC_DETECT_DEVICE, {5, 35, 114, 70}, {12, 90, 283, 90}},
        {IDC_START_STOP, {5, 77, 114, 112}, {12, 198, 283, 90}},
        {IDC_AREA_MONITOR, {5, 121, 114, 156}, {12, 311, 283, 90}},
        {IDC_MODE_SWITCH, {5, 165, 114, 200}, {12, 424, 283, 90}},
        {IDC_PLAYBACK, {5, 208, 114, 243}, {12, 534, 283, 90}},
        {IDC_SAVE_DATA, {5, 252, 114, 287}, {12, 648, 283, 90}},
        {IDC_SAVE_PATH, {5, 296, 114, 331}, {12, 761, 283, 90}},
        {IDC_PAUSE, {641, 0, 708, 23}, {1663, 0, 173, 59}},
        {IDC_OBJECT_PANEL_SINGLE, {121, 30, 735, 98}, {313, 77, 1594, 175}},
        {IDC_SECTOR_VIEW, {121, 103, 737, 415}, {313, 264, 1599, 803}},
    };
    for (const auto& control : controls) {
        RECT before;
        GetWindowRect(GetDlgItem(original.get(), control.id), &before);
        MapWindowPoints(nullptr, original.get(), reinterpret_cast<POINT*>(&before), 2);
        EXPECT_EQ(before.left, control.inTemplate.left) << "template, control " << control.id;
        EXPECT_EQ(before.top, control.inTemplate.top) << "template, control " << control.id;
        EXPECT_EQ(before.right, control.inTemplate.right) << "template, control " << control.id;
        EXPECT_EQ(before.bottom, control.inTemplate.bottom) << "template, control " << control.id;
        RECT after;
        GetWindowRect(program.Control(control.id), &after);
        MapWindowPoints(nullptr, program.Window(), reinterpret_cast<POINT*>(&after), 2);
        EXPECT_EQ(after.left, control.onScreen.x) << "control " << control.id;
        EXPECT_EQ(after.top, control.onScreen.y) << "control " << control.id;
        EXPECT_EQ(after.right - after.left, control.onScreen.width) << "control " << control.id;
        EXPECT_EQ(after.bottom - after.top, control.onScreen.height) << "control " << control.id;
    }
}

// Every command button shows its picture in the states of a session: no device, device found,
// live run; in English and in Chinese; with a screenshot of each live run.
TEST_F(Appearance, EveryButtonShowsItsPictureInEachState) {
    for (const InterfaceLanguage& language : kLanguages) {
        SCOPED_TRACE(language.setting);
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"appConfig.xml", Settings(language.setting)));
        ProgramResources resources(ProgramFile(folder));
        auto picture = [&](int id) {
            std::unique_ptr<Gdiplus::Bitmap> bitmap = resources.Picture(id, language.language);
            EXPECT_NE(bitmap, nullptr) << "PNG " << id;
            return bitmap;
        };
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        Sleep(500);

        ExpectButtonShows(program, IDC_DETECT_DEVICE, *picture(197), "detect, normal");
        ExpectButtonShows(program, IDC_START_STOP, *picture(204), "start, disabled");
        ExpectButtonShows(program, IDC_PLAYBACK, *picture(187), "replay, normal");
        ExpectButtonShows(program, IDC_AREA_MONITOR, *picture(190), "area monitoring, normal");
        ExpectButtonShows(program, IDC_MODE_SWITCH, *picture(196), "mode, disabled and set");
        ExpectButtonShows(program, IDC_SAVE_DATA, *picture(205), "save data, off");
        ExpectButtonShows(program, IDC_SAVE_PATH, *picture(209), "set path, normal");

        ASSERT_NO_FATAL_FAILURE(DetectTheEmulator(program, language));
        Sleep(300);
        ExpectButtonShows(program, IDC_START_STOP, *picture(202), "start, normal");
        ExpectButtonShows(program, IDC_MODE_SWITCH, *picture(194), "mode, set");

        program.Click(IDC_START_STOP);
        ASSERT_TRUE(RunningProgram::WaitUntil([&] { return program.IsEnabled(IDC_PAUSE); }, 15000));
        Sleep(3000);  // tracks in the fan
        ExpectButtonShows(program, IDC_START_STOP, *picture(203), "stop (start set)");
        ExpectButtonShows(program, IDC_PLAYBACK, *picture(189), "replay, disabled");
        ExpectButtonShows(program, IDC_SAVE_DATA, *picture(207), "save data, off, disabled");
        ExpectButtonShows(program, IDC_SAVE_PATH, *picture(211), "set path, disabled");
        const std::wstring screenshot = std::wstring(L"live_run_") + language.suffix;
        EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), screenshot.c_str()).empty());
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsEnabled(IDC_PAUSE); }, 15000));
    }
}

// ----- the rounded corners of the buttons -----

// How far (in 0..255) a corner pixel may stray from what it should show: more than the
// rounding of the stretch, much less than a frame line on the window's colour.
constexpr int kCornerMargin = 24;

// Red, green and blue of 0xRRGGBB.
std::array<int, 3> Channels(uint32_t rgb) {
    return {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
            static_cast<int>(rgb & 0xFF)};
}
uint32_t FromChannels(const std::array<int, 3>& channels) {
    return static_cast<uint32_t>(channels[0] << 16 | channels[1] << 8 | channels[2]);
}
int Luma(uint32_t rgb) {
    const std::array<int, 3> c = Channels(rgb);
    return (299 * c[0] + 587 * c[1] + 114 * c[2]) / 1000;
}

std::string Hex(uint32_t rgb) {
    std::ostringstream text;
    text << std::hex << rgb;
    return text.str();
}

// A picture's pixels as 0xAARRGGBB, rows from the top.
struct PicturePixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;

    explicit PicturePixels(Gdiplus::Bitmap& picture)
        : width(static_cast<int>(picture.GetWidth())),
          height(static_cast<int>(picture.GetHeight())) {
        Gdiplus::Rect all(0, 0, width, height);
        Gdiplus::BitmapData data{};
        if (picture.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
            Gdiplus::Ok) {
            width = height = 0;
            return;
        }
        argb.resize(static_cast<size_t>(width) * height);
        for (int row = 0; row < height; ++row) {
            const auto* line = reinterpret_cast<const uint32_t*>(
                static_cast<const BYTE*>(data.Scan0) + row * data.Stride);
            std::copy(line, line + width, argb.begin() + static_cast<ptrdiff_t>(row) * width);
        }
        picture.UnlockBits(&data);
    }

    // The pixel at (x, y), clamped to the picture, laid over an opaque colour (0xRRGGBB).
    uint32_t Over(int x, int y, uint32_t below) const {
        const uint32_t pixel = argb[static_cast<size_t>(std::clamp(y, 0, height - 1)) * width +
                                    std::clamp(x, 0, width - 1)];
        const int alpha = static_cast<int>(pixel >> 24);
        const std::array<int, 3> top = Channels(pixel);
        const std::array<int, 3> bottom = Channels(below);
        std::array<int, 3> mixed{};
        for (size_t c = 0; c < 3; ++c) {
            mixed[c] = (top[c] * alpha + bottom[c] * (255 - alpha)) / 255;
        }
        return FromChannels(mixed);
    }
};

// The darkest corner pixel seen in a whole run, for the test's report.
struct Darkest {
    uint32_t colour = 0xFFFFFF;
    std::string where;

    void Offer(uint32_t seen, const std::string& at) {
        if (Luma(seen) < Luma(colour)) {
            colour = seen;
            where = at;
        }
    }
};

// Checks the four rounded corners of a button as the window shows them (a capture of the
// whole main window). Around its rounding the picture must show the window behind the
// button: no pixel clearly darker than both the key's edge and the window, and every pixel
// within what the picture shows there laid over the window's colour.
void ExpectCleanCorners(const Capture& window, const RECT& frame, HWND button,
                        const PicturePixels& picture, const std::string& what, Darkest& darkest) {
    SCOPED_TRACE(what);
    ASSERT_GT(picture.width, 0) << "the picture's pixels";
    RECT rect;
    GetWindowRect(button, &rect);
    const int left = rect.left - frame.left;
    const int top = rect.top - frame.top;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ASSERT_GE(left, 3) << "room for the window's colour beside the button";
    ASSERT_LE(left + width, window.width());
    ASSERT_LE(top + height, window.height());
    const uint32_t panel = window.At(left - 3, top + height / 2);
    const uint32_t edges[] = {
        window.At(left, top + height / 2), window.At(left + width - 1, top + height / 2),
        window.At(left + width / 2, top), window.At(left + width / 2, top + height - 1)};
    int edgeLuma = 255;
    for (uint32_t edge : edges) {
        edgeLuma = std::min(edgeLuma, Luma(edge));
    }
    const int darkFloor = std::min(edgeLuma, Luma(panel)) - kCornerMargin;

    // The corner squares hold the rounding (a sixteenth of the width, a fifth of the height)
    // and stay clear of the captions.
    const int cornerWidth = std::max(4, width / 16);
    const int cornerHeight = std::max(4, height / 5);
    const double perColumn = static_cast<double>(picture.width) / width;
    const double perRow = static_cast<double>(picture.height) / height;
    int darkPixels = 0;
    int strayPixels = 0;
    std::string firstDark;
    std::string firstStray;
    for (const POINT corner :
         {POINT{0, 0}, POINT{width - cornerWidth, 0}, POINT{0, height - cornerHeight},
          POINT{width - cornerWidth, height - cornerHeight}}) {
        for (int y = corner.y; y < corner.y + cornerHeight; ++y) {
            for (int x = corner.x; x < corner.x + cornerWidth; ++x) {
                const uint32_t seen = window.At(left + x, top + y);
                const std::string at = what + " at (" + std::to_string(x) + ", " +
                                       std::to_string(y) + ") of " + std::to_string(width) + " x " +
                                       std::to_string(height);
                darkest.Offer(seen, at);
                if (Luma(seen) < darkFloor) {
                    if (darkPixels++ == 0) {
                        firstDark = at + ": " + Hex(seen);
                    }
                }
                // What the stretch may make of the source pixels under this one and their
                // neighbours, each laid over the window's colour.
                std::array<int, 3> low = {255, 255, 255};
                std::array<int, 3> high = {0, 0, 0};
                const int fromX = static_cast<int>(x * perColumn) - 1;
                const int toX = static_cast<int>((x + 1) * perColumn) + 1;
                const int fromY = static_cast<int>(y * perRow) - 1;
                const int toY = static_cast<int>((y + 1) * perRow) + 1;
                for (int sy = fromY; sy <= toY; ++sy) {
                    for (int sx = fromX; sx <= toX; ++sx) {
                        const std::array<int, 3> channels = Channels(picture.Over(sx, sy, panel));
                        for (size_t c = 0; c < 3; ++c) {
                            low[c] = std::min(low[c], channels[c]);
                            high[c] = std::max(high[c], channels[c]);
                        }
                    }
                }
                const std::array<int, 3> seenChannels = Channels(seen);
                bool stray = false;
                for (size_t c = 0; c < 3; ++c) {
                    stray = stray || seenChannels[c] < low[c] - kCornerMargin ||
                            seenChannels[c] > high[c] + kCornerMargin;
                }
                if (stray && strayPixels++ == 0) {
                    firstStray = at + ": " + Hex(seen) +
                                 " where the picture over the window gives " +
                                 Hex(FromChannels(low)) + " to " + Hex(FromChannels(high));
                }
            }
        }
    }
    EXPECT_EQ(darkPixels, 0) << "corner pixels darker than " << darkFloor
                             << " (the key's edge and the window " << Hex(panel)
                             << ", less the margin); the first: " << firstDark;
    EXPECT_EQ(strayPixels, 0) << "corner pixels that are not the picture over the window "
                              << Hex(panel) << "; the first: " << firstStray;
}

// The dots per inch the run asked its Wine shard for (ZUVO_WINE_DPI, tools/wine-run).
int RequestedDotsPerInch() {
    const char* value = std::getenv("ZUVO_WINE_DPI");
    return value != nullptr && *value != '\0' ? std::atoi(value) : 96;
}

int ScreenDotsPerInch() {
    const zuvo::WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

// The buttons with rounded keys that the window shows. The pause button is a skinned button
// too but is never shown; the close button's picture is a cross without rounded corners.
constexpr size_t kShownKeyCount = 7;
const int kShownKeys[kShownKeyCount] = {IDC_DETECT_DEVICE, IDC_START_STOP, IDC_AREA_MONITOR,
                                        IDC_MODE_SWITCH,   IDC_PLAYBACK,   IDC_SAVE_DATA,
                                        IDC_SAVE_PATH};

// The column of buttons, for a look at their corners after the run.
void SaveButtonColumn(const Capture& window, const RECT& frame, const RunningProgram& program,
                      const std::wstring& name) {
    RECT column;
    GetWindowRect(program.Control(IDC_DETECT_DEVICE), &column);
    RECT last;
    GetWindowRect(program.Control(IDC_SAVE_PATH), &last);
    const int margin = 8;
    const int x = std::max(0, static_cast<int>(column.left - frame.left) - margin);
    const int y = std::max(0, static_cast<int>(column.top - frame.top) - margin);
    const int width =
        std::min(window.width() - x, static_cast<int>(last.right - column.left) + 2 * margin);
    const int height =
        std::min(window.height() - y, static_cast<int>(last.bottom - column.top) + 2 * margin);
    EXPECT_FALSE(window.Part(x, y, width, height).Save(name).empty()) << "screenshot";
}

// Every shown button's rounded corners show the window around the key, in every state of a
// session, in English and Chinese; registered again as Scale150.* for a screen of 144 dots
// per inch.
TEST(ButtonCorners, ShowTheWindowAroundTheKeyInEveryState) {
    const int dpi = RequestedDotsPerInch();
    ASSERT_EQ(ScreenDotsPerInch(), dpi) << "the screen's dots per inch that the run asked for";
    for (const InterfaceLanguage& language : kLanguages) {
        SCOPED_TRACE(language.setting);
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"appConfig.xml", Settings(language.setting)));
        const ProgramResources resources(folder.File(L"ZUVO_MTT.exe"));
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        Sleep(500);
        RECT frame;
        GetWindowRect(program.Window(), &frame);
        Darkest darkest;

        // Each step names the picture each shown button shows then, in the order of
        // kShownKeys; the last step's capture is kept for the screenshot.
        std::optional<Capture> window;
        auto expectCorners = [&](const char* state, const std::array<int, kShownKeyCount>& shown) {
            // The program may still be busy after the change of state (a start goes on to open
            // the tower light's port) with the buttons' paints pending: they are asked for now,
            // and the call returns once the program's thread has painted them.
            for (int id : kShownKeys) {
                RedrawWindow(program.Control(id), nullptr, nullptr, RDW_UPDATENOW);
            }
            Sleep(200);
            window.emplace(program.Window(), Capture::Source::Window);
            for (size_t index = 0; index < kShownKeyCount; ++index) {
                const int buttonId = kShownKeys[index];
                std::unique_ptr<Gdiplus::Bitmap> picture =
                    resources.Picture(shown[index], language.language);
                ASSERT_NE(picture, nullptr) << "PNG " << shown[index];
                const PicturePixels pixels(*picture);
                ExpectCleanCorners(*window, frame, program.Control(buttonId), pixels,
                                   std::string(state) + ", button " + std::to_string(buttonId) +
                                       " (PNG " + std::to_string(shown[index]) + ")",
                                   darkest);
            }
        };

        expectCorners("no device", {197, 204, 190, 196, 187, 205, 209});

        // The pushed look of the push buttons, as while they are held, and the switch on.
        const int pushButtons[] = {IDC_DETECT_DEVICE, IDC_AREA_MONITOR, IDC_SAVE_PATH};
        for (int id : pushButtons) {
            SendMessageW(program.Control(id), BM_SETSTATE, TRUE, 0);
        }
        program.Click(IDC_SAVE_DATA);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return program.IsChecked(IDC_SAVE_DATA); }, 5000));
        expectCorners("pushed, recording on", {198, 204, 191, 196, 187, 206, 210});
        for (int id : pushButtons) {
            SendMessageW(program.Control(id), BM_SETSTATE, FALSE, 0);
        }
        program.Click(IDC_SAVE_DATA);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsChecked(IDC_SAVE_DATA); }, 5000));

        ASSERT_NO_FATAL_FAILURE(DetectTheEmulator(program, language));
        expectCorners("device found", {197, 202, 190, 194, 187, 205, 209});

        program.Click(IDC_START_STOP);
        ASSERT_TRUE(RunningProgram::WaitUntil([&] { return program.IsEnabled(IDC_PAUSE); }, 15000));
        expectCorners("running", {197, 203, 190, 194, 189, 207, 211});
        SaveButtonColumn(*window, frame, program,
                         std::wstring(L"button_corners_") + language.suffix);
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsEnabled(IDC_PAUSE); }, 15000));

        std::cout << language.setting << " at " << dpi << " dpi: darkest corner pixel "
                  << Hex(darkest.colour) << " (luma " << Luma(darkest.colour) << "), "
                  << darkest.where << std::endl;
    }
}

}  // namespace
