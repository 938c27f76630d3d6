// The main window's full-screen look: controls stretched from the template to the screen, and
// every button showing its own picture for its state, in both languages.
#include <gtest/gtest.h>

#include <objidl.h>

#include <gdiplus.h>
#include <shlwapi.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "resources/resource.h"
#include "tests/support/ProgramDriver.h"

namespace {

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
    const struct {
        const char* setting;
        WORD language;
        const wchar_t* screenshot;
        const wchar_t* prompt;
    } languages[] = {{"ENG", kEnglish, L"live_run_en", L"Prompt"},
                     {"CHS", kChinese, L"live_run_zh", L"\u63D0\u793A"}};
    for (const auto& language : languages) {
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

        program.Click(IDC_DETECT_DEVICE);
        const HWND box = zuvo::test::WaitForDialog(program.ProcessId(), language.prompt, 30000);
        ASSERT_NE(box, nullptr);
        zuvo::test::PressDialogButton(box, IDOK);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return program.IsEnabled(IDC_START_STOP); }, 10000));
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
        EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), language.screenshot).empty());
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsEnabled(IDC_PAUSE); }, 15000));
    }
}

}  // namespace
