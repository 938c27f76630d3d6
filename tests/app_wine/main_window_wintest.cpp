// ZUVO_MTT.exe end to end: started in a fresh program folder, driven from this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestPaths.h"

namespace {

using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

std::string SettingsWithLanguage(const char* language) {
    return std::string("<?xml version=\"1.0\"?>\n<AppConfig Language=\"") + language + "\" />\n";
}

TEST(MainWindow, ASecondStartBringsTheFirstToTheFrontAndEnds) {
    ProgramFolder folder;
    RunningProgram first(folder);
    ASSERT_NE(first.Window(), nullptr);

    // Something else in front first.
    zuvo::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0,
                                             50, 50, nullptr, nullptr, nullptr, nullptr));
    SetForegroundWindow(other.get());

    RunningProgram second(folder, 3000);
    EXPECT_EQ(second.WaitForExit(20000), 0u) << "the second instance ends by itself";
    EXPECT_EQ(second.Window(), nullptr) << "it never shows a window";
    EXPECT_TRUE(IsWindow(first.Window()));
    EXPECT_TRUE(
        RunningProgram::WaitUntil([&] { return GetForegroundWindow() == first.Window(); }, 5000))
        << "the first instance's window is in front";
}

TEST(MainWindow, EnterAndEscapeNeverCloseIt) {
    ProgramFolder folder;
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    const HWND window = program.Window();
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        PostMessageW(window, WM_KEYDOWN, key, 0);
        PostMessageW(window, WM_KEYUP, key, 0xC0000001);
        PostMessageW(program.Control(IDC_DETECT_DEVICE), WM_KEYDOWN, key, 0);
    }
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // F2 without Ctrl is swallowed and opens nothing: the parameter dialog stays away.
    PostMessageW(window, WM_KEYDOWN, VK_F2, 0);
    PostMessageW(window, WM_KEYUP, VK_F2, 0xC0000001);
    const HWND parameters =
        zuvo::test::WaitForDialog(program.ProcessId(), L"Parameter Setting", 1500);
    EXPECT_EQ(parameters, nullptr) << "F2 alone opened the parameter dialog";
    if (parameters != nullptr) {
        PostMessageW(parameters, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    EXPECT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(IsWindowVisible(window));
}

// The window has no caption, so its system menu, and the about view in it, are reached by
// Alt+Space (real keystrokes, as an operator gives them).
TEST(MainWindow, AltSpaceOpensTheSystemMenuAndItsAboutItem) {
    ProgramFolder folder;
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    zuvo::test::BringToFront(program.Window());
    zuvo::test::KeyDown(VK_MENU);
    zuvo::test::PressKey(VK_SPACE);
    zuvo::test::KeyUp(VK_MENU);
    ASSERT_TRUE(RunningProgram::WaitUntil(
        [&] { return zuvo::test::FindProcessWindow(program.ProcessId(), L"#32768") != nullptr; },
        5000))
        << "no system menu";
    // The about item is the menu's last: one step up from the first.
    zuvo::test::PressKey(VK_UP);
    zuvo::test::PressKey(VK_RETURN);
    const HWND about = zuvo::test::WaitForDialog(program.ProcessId(), L"About", 10000);
    ASSERT_NE(about, nullptr) << "the menu's About item";
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(RunningProgram::WaitUntil([&] { return !IsWindow(about); }, 5000));
    EXPECT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST(MainWindow, FillsTheScreen) {
    ProgramFolder folder;
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    RECT rect;
    GetWindowRect(program.Window(), &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetWindowLongW(program.Window(), GWL_STYLE) & WS_CAPTION, 0) << "no caption";

    // The sector view sits in the place of control 1200, stretched with the rest.
    RECT view;
    GetWindowRect(program.Control(IDC_SECTOR_VIEW), &view);
    EXPECT_GT(view.right - view.left, rect.right / 2);
    EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), L"main_window").empty());
}

TEST(MainWindow, TheLanguageSettingChoosesThePanelText) {
    {
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"appConfig.xml", SettingsWithLanguage("ENG")));
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_EQ(program.ControlText(IDC_OBJECT_PANEL_SINGLE),
                  L"Object Information\r\ndistance: 0.00 m\r\nangle: +0.0 \u00B0\r\n"
                  L"velocity: +0.00 m/s");
    }
    {
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(L"appConfig.xml", SettingsWithLanguage("chs")));
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_EQ(program.ControlText(IDC_OBJECT_PANEL_SINGLE),
                  L"\u76EE\u6807\u4FE1\u606F\r\n\u8DDD\u79BB: 0.00 m\r\n\u89D2\u5EA6: +0.0 "
                  L"\u00B0\r\n\u901F\u5EA6: +0.00 m/s");
        EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), L"main_window_zh").empty());
    }
}

// The lines of an object panel never reach its frame, in either language, in either mode and
// (as Scale150.*, Scale200.*) on scaled screens: text clipped by the panel would run into its
// last rows or columns. Light pixels count as text; the frame is the panel's outer two pixels.
TEST(MainWindow, NoPanelTextRunsIntoItsFrame) {
    struct Case {
        const char* language;
        const char* countType;
        std::vector<int> panels;
    };
    for (const Case& c :
         {Case{"ENG", "1", {IDC_OBJECT_PANEL_SINGLE}}, Case{"CHS", "1", {IDC_OBJECT_PANEL_SINGLE}},
          Case{"ENG", "3", {IDC_OBJECT_PANEL_1, IDC_OBJECT_PANEL_2, IDC_OBJECT_PANEL_3}},
          Case{"CHS", "3", {IDC_OBJECT_PANEL_1, IDC_OBJECT_PANEL_2, IDC_OBJECT_PANEL_3}}}) {
        SCOPED_TRACE(std::string(c.language) + " " + c.countType);
        ProgramFolder folder;
        ASSERT_TRUE(folder.Write(
            L"appConfig.xml", std::string("<?xml version=\"1.0\"?>\n<AppConfig Language=\"") +
                                  c.language + "\" ObjectCountType=\"" + c.countType + "\" />\n"));
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        Sleep(300);
        const zuvo::test::Capture window(program.Window(), zuvo::test::Capture::Source::Window);
        for (int id : c.panels) {
            RECT panel{};
            GetWindowRect(program.Control(id), &panel);
            MapWindowPoints(nullptr, program.Window(), reinterpret_cast<POINT*>(&panel), 2);
            auto light = [&](int x, int y) {
                const uint32_t pixel = window.At(x, y);
                const int luma =
                    (((pixel >> 16) & 0xFF) * 3 + ((pixel >> 8) & 0xFF) * 6 + (pixel & 0xFF)) / 10;
                return luma > 140;
            };
            // The inside, without the frame; text pixels in it, none in its last two rows and
            // columns.
            const int left = static_cast<int>(panel.left) + 2;
            const int top = static_cast<int>(panel.top) + 2;
            const int right = static_cast<int>(panel.right) - 2;
            const int bottom = static_cast<int>(panel.bottom) - 2;
            int text = 0;
            int lowest = top;
            int rightmost = left;
            for (int y = top; y < bottom; ++y) {
                for (int x = left; x < right; ++x) {
                    if (light(x, y)) {
                        ++text;
                        lowest = std::max(lowest, y);
                        rightmost = std::max(rightmost, x);
                    }
                }
            }
            EXPECT_GT(text, 200) << "panel " << id << " shows its lines";
            EXPECT_LT(lowest, bottom - 2) << "panel " << id << ": the last line reaches the frame";
            EXPECT_LT(rightmost, right - 2) << "panel " << id << ": a line reaches the frame";
            std::printf(
                "panel %d (%ld x %ld): text down to row %d of %d, right to column %d of %d\n", id,
                panel.right - panel.left, panel.bottom - panel.top, lowest - top + 2,
                bottom - top + 2, rightmost - left + 2, right - left + 2);
        }
    }
}

TEST(MainWindow, ThreeObjectModeShowsThreeNumberedPanels) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.Write(L"appConfig.xml",
                             "<?xml version=\"1.0\"?>\n<AppConfig Language=\"ENG\" "
                             "ObjectCountType=\"3\" />\n"));
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_FALSE(IsWindowVisible(program.Control(IDC_OBJECT_PANEL_SINGLE)));
    const int panels[] = {IDC_OBJECT_PANEL_1, IDC_OBJECT_PANEL_2, IDC_OBJECT_PANEL_3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(IsWindowVisible(program.Control(panels[i])));
        EXPECT_EQ(program.ControlText(panels[i]).substr(0, 22),
                  L"Object " + std::to_wstring(i + 1) + L" Information\r\n");
    }
    EXPECT_EQ(SendMessageW(program.Control(IDC_MODE_SWITCH), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(MainWindow, TheCloseButtonEndsItAndWritesTheRecordingSettings) {
    ProgramFolder folder;
    {
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        EXPECT_EQ(folder.Read(L"appConfig.xml"), "<?xml version=\"1.0\"?>\n<AppConfig />\n")
            << "the first start writes an empty settings element";
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    EXPECT_EQ(folder.Read(L"appConfig.xml"),
              "<?xml version=\"1.0\"?>\n<AppConfig SaveData=\"0\" SaveDataPath=\"SaveData\" />\n");
    EXPECT_NE(GetFileAttributesW(folder.File(L"SaveData").c_str()), INVALID_FILE_ATTRIBUTES);
}

// String id of the program in one language, read from its string table block (16 counted
// strings per block); false when the block is missing.
bool LoadStringOf(HMODULE module, UINT id, LANGID language, std::wstring* text) {
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    if (block == nullptr) {
        return false;
    }
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, block)));
    for (UINT skip = 0; skip < (id & 15); ++skip) {
        entry += 1 + *entry;
    }
    text->assign(entry + 1, *entry);
    return true;
}

// Every string, dialog and picture the program uses exists in English and in Simplified
// Chinese, and every string reads exactly as the program must show it.
TEST(ProgramResources, EveryIdExistsInBothLanguages) {
    const std::wstring program = zuvo::test::BuiltProgramFolder() + L"\\ZUVO_MTT.exe";
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    const LANGID chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    // Every string the program shows, word for word: a changed text is a changed program.
    const struct {
        UINT id;
        const wchar_t* english;
        const wchar_t* chinese;
    } strings[] = {
        {IDS_ABOUTBOX, L"About(&A)...", L"\u5173\u4E8E(&A)..."},
        {IDS_SOCKETS_INIT_FAILED, L"Windows socket init. failed.",
         L"Windows \u5957\u63A5\u5B57\u521D\u59CB\u5316\u5931\u8D25\u3002"},
        {IDS_ERROR, L"Error", L"\u9519\u8BEF"},
        {IDS_PROMPT, L"Prompt", L"\u63D0\u793A"},
        {IDS_LOAD_CONFIG_FAILED, L"Fail to Load Config. File",
         L"\u52A0\u8F7D\u914D\u7F6E\u6587\u4EF6\u5931\u8D25"},
        {IDS_LOAD_CONFIG_FIRST, L"Please Load Config. File",
         L"\u8BF7\u5148\u52A0\u8F7D\u914D\u7F6E\u6587\u4EF6"},
        {IDS_COM_DEVICE_DETECTED, L"COM Device Detected",
         L"\u68C0\u6D4B\u5230\u4E32\u53E3\u8BBE\u5907"},
        {IDS_LIBUSB_DEVICE_DETECTED, L"LibUSB Device Detected",
         L"\u68C0\u6D4B\u5230LibUSB\u8BBE\u5907"},
        {IDS_PELVO2_DEVICE_DETECTED, L"Pelvo2 Device Detected",
         L"\u68C0\u6D4B\u5230Pelvo2\u8BBE\u5907"},
        {IDS_PELVO4_DEVICE_DETECTED, L"Pelvo4 Device Detected",
         L"\u68C0\u6D4B\u5230Pelvo4\u8BBE\u5907"},
        {IDS_USB_ADAPTER_DETECTED, L"USB Adapter Detected",
         L"\u68C0\u6D4B\u5230USB\u8F6C\u63A5\u677F"},
        {IDS_EMULATOR_DETECTED, L"Radar Emulator Detected",
         L"\u68C0\u6D4B\u5230\u96F7\u8FBE\u6A21\u62DF\u5668"},
        {IDS_NO_DEVICE_DETECTED, L"No Device Detected", L"\u672A\u68C0\u6D4B\u5230\u8BBE\u5907"},
        {IDS_STARTING_SENSOR, L"Starting Radar Sensor\u2026",
         L"\u6B63\u5728\u542F\u52A8\u6BEB\u7C73\u6CE2\u4F20\u611F\u5668..."},
        {IDS_DEVICE_OPEN_FAILED, L"Fail to Start Device", L"\u8BBE\u5907\u6253\u5F00\u5931\u8D25"},
        {IDS_LOG_NOT_WRITTEN_TITLE, L"No result log", L"\u65E0\u7ED3\u679C\u65E5\u5FD7"},
        {IDS_LOG_NOT_WRITTEN,
         L"The result log cannot be written in the Log folder beside the program. This run goes "
         L"on without one.",
         L"\u65E0\u6CD5\u5728\u7A0B\u5E8F\u6240\u5728\u76EE\u5F55\u7684 Log "
         L"\u6587\u4EF6\u5939\u4E2D\u5199\u5165\u7ED3\u679C\u65E5\u5FD7\u3002\u672C\u6B21\u8FD0"
         L"\u884C\u5C06\u7EE7\u7EED\uFF0C\u4F46\u4E0D\u8BB0\u5F55\u65E5\u5FD7\u3002"},
        {IDS_NOT_A_RECORDING,
         L"This folder is not a recording: it holds no readable FILE_Radar_Config.ini. Choose "
         L"the folder of a recording.",
         L"\u8BE5\u6587\u4EF6\u5939\u4E0D\u662F\u5F55\u5236\u6570\u636E\uFF1A\u5176\u4E2D"
         L"\u6CA1\u6709\u53EF\u8BFB\u53D6\u7684 FILE_Radar_Config.ini\u3002\u8BF7\u9009\u62E9"
         L"\u5F55\u5236\u6570\u636E\u6240\u5728\u7684\u6587\u4EF6\u5939\u3002"},
        {IDS_DEVICE_LOST, L"The connection to the radar sensor was lost",
         L"\u4E0E\u6BEB\u7C73\u6CE2\u4F20\u611F\u5668\u7684\u8FDE\u63A5\u5DF2\u65AD\u5F00"},
        {IDS_OBJECT_INFO,
         L"Object%s Information\r\ndistance:%5.2f m\r\nangle:%+5.1f \u00B0\r\nvelocity:%+6.2f m/s",
         L"\u76EE\u6807%s\u4FE1\u606F\r\n\u8DDD\u79BB:%5.2f m\r\n\u89D2\u5EA6:%+5.1f "
         L"\u00B0\r\n\u901F\u5EA6:%+6.2f m/s"},
    };
    for (const auto& string : strings) {
        std::wstring text;
        EXPECT_TRUE(LoadStringOf(module, string.id, english, &text))
            << "string " << string.id << " in English";
        EXPECT_EQ(text, string.english) << "string " << string.id << " in English";
        text.clear();
        EXPECT_TRUE(LoadStringOf(module, string.id, chinese, &text))
            << "string " << string.id << " in Chinese";
        EXPECT_EQ(text, string.chinese) << "string " << string.id << " in Chinese";
    }
    for (LANGID language : {english, chinese}) {
        for (int dialog : {IDD_ZUVO_MTT_DIALOG, IDD_AREA_MONITOR, IDD_CONFIG}) {
            EXPECT_NE(FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(dialog), language),
                      nullptr)
                << "dialog " << dialog << " language " << language;
        }
        // Banners, the close cross and the button faces.
        for (int picture = 140; picture <= 211; ++picture) {
            const bool used =
                picture <= 141 || picture == 145 || (picture >= 187 && picture != 192);
            EXPECT_EQ(
                FindResourceExW(module, L"PNG", MAKEINTRESOURCEW(picture), language) != nullptr,
                used)
                << "picture " << picture << " language " << language;
        }
    }
    FreeLibrary(module);
}

}  // namespace
