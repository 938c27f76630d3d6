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
#include "settings/ResizeArithmetic.h"
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
    const HWND original = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), dialogTemplate, nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(original, nullptr);
    ShowWindow(original, SW_HIDE);
    RECT templateClient;
    GetClientRect(original, &templateClient);

    zuvo::settings::ResizeFactors factors;
    ASSERT_TRUE(zuvo::settings::ComputeResizeFactors(templateClient.right, templateClient.bottom,
                                                     GetSystemMetrics(SM_CXSCREEN),
                                                     GetSystemMetrics(SM_CYSCREEN), &factors));
    EXPECT_NE(factors.horizontal, factors.vertical) << "the ratios differ, as on most screens";
    const int ids[] = {IDC_TITLE,
                       IDC_CLOSE,
                       IDC_DETECT_DEVICE,
                       IDC_START_STOP,
                       IDC_AREA_MONITOR,
                       IDC_MODE_SWITCH,
                       IDC_PLAYBACK,
                       IDC_SAVE_DATA,
                       IDC_SAVE_PATH,
                       IDC_PAUSE,
                       IDC_OBJECT_PANEL_SINGLE,
                       IDC_SECTOR_VIEW};
    for (int id : ids) {
        RECT before;
        GetWindowRect(GetDlgItem(original, id), &before);
        MapWindowPoints(nullptr, original, reinterpret_cast<POINT*>(&before), 2);
        const zuvo::settings::ScaledRect expected = zuvo::settings::ScaleRect(
            before.left, before.top, before.right, before.bottom, factors);
        RECT after;
        GetWindowRect(program.Control(id), &after);
        MapWindowPoints(nullptr, program.Window(), reinterpret_cast<POINT*>(&after), 2);
        EXPECT_EQ(after.left, expected.x) << "control " << id;
        EXPECT_EQ(after.top, expected.y) << "control " << id;
        EXPECT_EQ(after.right - after.left, expected.width) << "control " << id;
        EXPECT_EQ(after.bottom - after.top, expected.height) << "control " << id;
    }
    DestroyWindow(original);
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
