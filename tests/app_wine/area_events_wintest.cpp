// What a real run leaves in its files: a stored monitoring area over the left half of the fan,
// 30 s of the emulator's people walking through it, the area events file read back, a picture
// of the view taken with F12 halfway, and the run's heat map, shown, hidden and saved.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gdiplus.h>

#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ControlHost.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestPaths.h"

namespace {

using zuvo::test::Capture;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

struct Row {
    long long ms = 0;  // of the day
    int area = 0;
    long long id = 0;
    std::string event;
    long long dwell = 0;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));  // a line without its end: reported below
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool ParseRow(const std::string& line, Row& row) {
    int year = 0, month = 0, day = 0, h = 0, m = 0, s = 0, ms = 0;
    char event[8] = {};
    int used = 0;
    if (std::sscanf(line.c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%3d,%d,%lld,%7[a-z],%lld%n", &year,
                    &month, &day, &h, &m, &s, &ms, &row.area, &row.id, event, &row.dwell,
                    &used) != 11 ||
        static_cast<size_t>(used) != line.size()) {
        return false;
    }
    row.ms = ((h * 60LL + m) * 60LL + s) * 1000LL + ms + day * 86400000LL;
    row.event = event;
    return true;
}

std::wstring OnlyFile(const ProgramFolder& folder, const wchar_t* pattern) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW(folder.File(pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring name = entry.cFileName;
    const bool more = FindNextFileW(search, &entry) != FALSE;
    FindClose(search);
    return more ? std::wstring() : name;
}

// The view's pixels (the sector view's client area) of a capture of the main window.
std::vector<uint32_t> ViewPixels(const RunningProgram& program) {
    const HWND view = program.Control(IDC_SECTOR_VIEW);
    RECT rect{};
    GetClientRect(view, &rect);
    MapWindowPoints(view, program.Window(), reinterpret_cast<POINT*>(&rect), 2);
    const Capture whole(program.Window(), Capture::Source::Window);
    RECT frame{};
    GetWindowRect(program.Window(), &frame);
    POINT client{0, 0};
    ClientToScreen(program.Window(), &client);
    const int dx = client.x - frame.left;
    const int dy = client.y - frame.top;
    std::vector<uint32_t> pixels;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            pixels.push_back(whole.At(x + dx, y + dy));
        }
    }
    return pixels;
}

const char kArea[] =
    "\t<MonitorArea BoundSize=\"1000,500\" Points=\"0,0; 0,500; 500,500; 500,0; \"/>\n";

struct Language {
    const char* setting;
    const wchar_t* screenshot;
    const wchar_t* prompt;  // the caption of the detection result
};

class AreaStatistics : public testing::TestWithParam<Language> {};

// F9 shows a label inside the area, F11 the run-health overlay in the corner, each written into
// the settings file; the same key again takes it away and leaves the view as it was.
TEST_P(AreaStatistics, F9AndF11DrawTheirOverlaysAndTheSameKeyRestoresTheView) {
    ProgramFolder folder;
    ASSERT_TRUE(folder.Write(L"appConfig.xml",
                             std::string("<?xml version=\"1.0\"?>\n<AppConfig Language=\"") +
                                 GetParam().setting + "\">\n" + kArea + "</AppConfig>\n"));
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    zuvo::test::BringToFront(program.Window());
    Sleep(500);
    const std::vector<uint32_t> plain = ViewPixels(program);
    zuvo::test::PressKey(VK_F9);
    std::vector<uint32_t> labelled;
    EXPECT_TRUE(RunningProgram::WaitUntil(
        [&] {
            labelled = ViewPixels(program);
            return labelled != plain;
        },
        5000))
        << "F9 draws the area's label";
    EXPECT_NE(folder.Read(L"appConfig.xml").find("ShowAreaStatistics=\"1\""), std::string::npos);
    zuvo::test::PressKey(VK_F11);
    std::vector<uint32_t> both;
    EXPECT_TRUE(RunningProgram::WaitUntil(
        [&] {
            both = ViewPixels(program);
            return both != labelled;
        },
        5000))
        << "F11 draws the run-health overlay";
    EXPECT_NE(folder.Read(L"appConfig.xml").find("ShowRunHealth=\"1\""), std::string::npos);
    zuvo::test::PressKey(VK_F1);
    Sleep(2500);  // the balloon has faded in
    // From the screen: the balloon is a window of its own over the main window.
    EXPECT_FALSE(
        Capture(program.Window(), Capture::Source::Screen).Save(GetParam().screenshot).empty());
    zuvo::test::PressKey(VK_F9);
    zuvo::test::PressKey(VK_F11);
    EXPECT_TRUE(RunningProgram::WaitUntil([&] { return ViewPixels(program) == plain; }, 5000))
        << "F9 and F11 again restore every pixel";
    EXPECT_NE(folder.Read(L"appConfig.xml").find("ShowAreaStatistics=\"0\""), std::string::npos);
    EXPECT_NE(folder.Read(L"appConfig.xml").find("ShowRunHealth=\"0\""), std::string::npos);
    program.Click(IDC_CLOSE);
    EXPECT_EQ(program.WaitForExit(20000), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, AreaStatistics,
                         testing::Values(Language{"ENG", L"area_statistics_en", L"Prompt"},
                                         Language{"CHS", L"area_statistics_zh", L"\u63D0\u793A"}),
                         [](const testing::TestParamInfo<Language>& param) {
                             return std::string(param.param.setting);
                         });

// The pixels of the picture file that differ from other's (of the same size); -1 when either
// cannot be read or the sizes differ.
long DifferentPixels(const std::wstring& path, const std::wstring& otherPath) {
    Gdiplus::Bitmap one(path.c_str());
    Gdiplus::Bitmap other(otherPath.c_str());
    if (one.GetLastStatus() != Gdiplus::Ok || other.GetLastStatus() != Gdiplus::Ok ||
        one.GetWidth() != other.GetWidth() || one.GetHeight() != other.GetHeight()) {
        return -1;
    }
    long different = 0;
    for (UINT y = 0; y < one.GetHeight(); ++y) {
        for (UINT x = 0; x < one.GetWidth(); ++x) {
            Gdiplus::Color a;
            Gdiplus::Color b;
            one.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &a);
            other.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &b);
            different += a.GetValue() != b.GetValue() ? 1 : 0;
        }
    }
    return different;
}

// Ctrl+F8 as the operator presses it; answers the name of the new heat map in Log once it can be
// read whole, or nothing.
std::wstring SaveHeatMap(const ProgramFolder& folder, const std::set<std::wstring>& before) {
    zuvo::test::KeyDown(VK_CONTROL);
    zuvo::test::PressKey(VK_F8);
    zuvo::test::KeyUp(VK_CONTROL);
    std::wstring added;
    RunningProgram::WaitUntil(
        [&] {
            WIN32_FIND_DATAW entry;
            const HANDLE search =
                FindFirstFileW(folder.File(L"Log\\ZUVO_MTT_Heatmap_*.png").c_str(), &entry);
            if (search == INVALID_HANDLE_VALUE) {
                return false;
            }
            do {
                if (before.count(entry.cFileName) == 0) {
                    added = entry.cFileName;
                }
            } while (added.empty() && FindNextFileW(search, &entry));
            FindClose(search);
            if (added.empty()) {
                return false;
            }
            Gdiplus::Bitmap written(folder.File((L"Log\\" + added).c_str()).c_str());
            if (written.GetLastStatus() != Gdiplus::Ok) {
                added.clear();
                return false;
            }
            return true;
        },
        5000);
    return added;
}

class AreaEventsRun : public testing::TestWithParam<Language> {};

TEST_P(AreaEventsRun, EveryEnterHasItsExitAndTheDwellsMatchTheRowTimes) {
    ProgramFolder folder;
    std::string config = folder.Read(L"Radar_Config.ini");
    const size_t light = config.find("LightPort = 3");
    ASSERT_NE(light, std::string::npos);
    config.replace(light, 13, "LightPort = 240");  // no tower light attached
    ASSERT_TRUE(folder.Write(L"Radar_Config.ini", config));
    ASSERT_TRUE(folder.Write(
        L"appConfig.xml",
        std::string("<?xml version=\"1.0\"?>\n<AppConfig Language=\"") + GetParam().setting +
            "\" ObjectCountType=\"3\" ShowAreaStatistics=\"1\" ShowRunHealth=\"1\" "
            "ShowHeatMap=\"1\">\n" +
            kArea + "</AppConfig>\n"));
    {
        RunningProgram program(folder);
        ASSERT_NE(program.Window(), nullptr);
        ASSERT_FALSE(zuvo::test::DetectDevice(program, GetParam().prompt).empty())
            << "no detection result";
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(zuvo::test::WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_1, 30000));
        Sleep(15000);
        // Every addition on, nothing over the view; then F12 and F1 as the operator presses
        // them.
        zuvo::test::BringToFront(program.Window());
        EXPECT_FALSE(Capture(program.Window(), Capture::Source::Screen)
                         .Save(std::wstring(L"run_features_") + GetParam().screenshot)
                         .empty());
        zuvo::test::PressKey(VK_F12);
        ASSERT_TRUE(RunningProgram::WaitUntil(
            [&] { return !OnlyFile(folder, L"Snapshots\\ZUVO_MTT_View_*.png").empty(); }, 5000))
            << "F12 writes one picture";
        zuvo::test::PressKey(VK_F1);
        EXPECT_TRUE(RunningProgram::WaitUntil(
            [&] {
                const HWND balloon = FindWindowW(L"BALLOONWND", nullptr);
                DWORD owner = 0;
                GetWindowThreadProcessId(balloon, &owner);
                return balloon != nullptr && owner == program.ProcessId() &&
                       IsWindowVisible(balloon);
            },
            5000))
            << "F1 shows the keys in a balloon";
        Sleep(2000);  // the balloon has faded in (1.5 s)
        EXPECT_FALSE(Capture(program.Window(), Capture::Source::Screen)
                         .Save(std::wstring(L"run_keys_") + GetParam().screenshot)
                         .empty());
        RECT view{};
        GetClientRect(program.Control(IDC_SECTOR_VIEW), &view);
        const std::wstring picture = folder.File(
            (L"Snapshots\\" + OnlyFile(folder, L"Snapshots\\ZUVO_MTT_View_*.png")).c_str());
        {
            Gdiplus::Bitmap saved(picture.c_str());
            ASSERT_EQ(saved.GetLastStatus(), Gdiplus::Ok) << "a picture GDI+ can read";
            EXPECT_EQ(static_cast<LONG>(saved.GetWidth()), view.right);
            EXPECT_EQ(static_cast<LONG>(saved.GetHeight()), view.bottom);
        }
        Sleep(15000);
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsChecked(IDC_START_STOP); }, 15000));

        // After the stop the view holds still, with the run's heat map: F9 and F11 off, F8
        // takes the heat map away and brings it back.
        zuvo::test::BringToFront(program.Window());
        zuvo::test::PressKey(VK_F9);
        zuvo::test::PressKey(VK_F11);
        Sleep(1500);
        const std::vector<uint32_t> withHeat = ViewPixels(program);
        zuvo::test::PressKey(VK_F8);
        std::vector<uint32_t> withoutHeat;
        EXPECT_TRUE(RunningProgram::WaitUntil(
            [&] {
                withoutHeat = ViewPixels(program);
                return withoutHeat != withHeat;
            },
            5000))
            << "F8 hides the heat map";
        EXPECT_NE(folder.Read(L"appConfig.xml").find("ShowHeatMap=\"0\""), std::string::npos);
        long heatPixels = 0;
        for (size_t i = 0; i < withHeat.size() && i < withoutHeat.size(); ++i) {
            heatPixels += withHeat[i] != withoutHeat[i] ? 1 : 0;
        }
        EXPECT_GT(heatPixels, 2000) << "30 s of walkers leave their paths";
        zuvo::test::PressKey(VK_F8);
        EXPECT_TRUE(
            RunningProgram::WaitUntil([&] { return ViewPixels(program) == withHeat; }, 5000))
            << "F8 again shows the same heat map";

        // Ctrl+F8 saves it beside the log, the size of the view; a new start begins a new one.
        const std::wstring heatMap = SaveHeatMap(folder, {});
        ASSERT_FALSE(heatMap.empty()) << "Ctrl+F8 writes the heat map";
        const std::wstring heatPath = folder.File((L"Log\\" + heatMap).c_str());
        {
            Gdiplus::Bitmap saved(heatPath.c_str());
            ASSERT_EQ(saved.GetLastStatus(), Gdiplus::Ok);
            EXPECT_EQ(static_cast<LONG>(saved.GetWidth()), view.right);
            EXPECT_EQ(static_cast<LONG>(saved.GetHeight()), view.bottom);
        }
        CopyFileW(heatPath.c_str(),
                  (zuvo::test::ArtefactsFolder() + L"\\heat_map_" + GetParam().screenshot + L".png")
                      .c_str(),
                  FALSE);  // for a look after the run
        Sleep(1100);       // the next file name differs by its second
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return program.IsChecked(IDC_START_STOP); }, 15000));
        Sleep(300);  // the start's waiting window has gone
        zuvo::test::BringToFront(program.Window());
        const std::wstring fresh = SaveHeatMap(folder, {heatMap});
        program.Click(IDC_START_STOP);
        ASSERT_TRUE(
            RunningProgram::WaitUntil([&] { return !program.IsChecked(IDC_START_STOP); }, 15000));
        ASSERT_FALSE(fresh.empty());
        const long cleared = DifferentPixels(heatPath, folder.File((L"Log\\" + fresh).c_str()));
        EXPECT_GT(cleared, 2000) << "the new run's heat map starts empty";
        std::printf("heat map: %ld pixels of the view, %ld cleared by the next start\n", heatPixels,
                    cleared);
        program.Click(IDC_CLOSE);
        EXPECT_EQ(program.WaitForExit(20000), 0u);
    }
    // The first run's files: the short second run has its own.
    WIN32_FIND_DATAW entry;
    const HANDLE search =
        FindFirstFileW(folder.File(L"Log\\ZUVO_MTT_Events_*.csv").c_str(), &entry);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "an events file";
    std::set<std::wstring> eventFiles;
    do {
        eventFiles.insert(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    ASSERT_EQ(eventFiles.size(), 2u) << "one events file per run";
    const std::wstring name = *eventFiles.begin();
    const std::vector<std::string> lines = Lines(folder.Read((L"Log\\" + name).c_str()));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "time,area,object_id,event,dwell_ms");

    std::map<long long, Row> inside;  // id -> its enter
    std::set<long long> ids;
    int enters = 0;
    int exits = 0;
    long long last = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        Row row;
        ASSERT_TRUE(ParseRow(lines[i], row)) << "line " << i + 1 << ": " << lines[i];
        EXPECT_EQ(row.area, 1) << lines[i];
        EXPECT_GE(row.ms, last) << "rows in time order: " << lines[i];
        last = row.ms;
        if (row.event == "enter") {
            EXPECT_EQ(row.dwell, 0) << lines[i];
            EXPECT_EQ(inside.count(row.id), 0u) << "entered twice: " << lines[i];
            inside[row.id] = row;
            ids.insert(row.id);
            ++enters;
        } else {
            ASSERT_EQ(row.event, "exit") << lines[i];
            const auto enter = inside.find(row.id);
            ASSERT_NE(enter, inside.end()) << "an exit without its enter: " << lines[i];
            EXPECT_EQ(row.dwell, row.ms - enter->second.ms) << lines[i];
            inside.erase(enter);
            ++exits;
        }
    }
    EXPECT_TRUE(inside.empty()) << "the stop exits everyone still inside";
    EXPECT_EQ(enters, exits);
    EXPECT_GE(enters, static_cast<int>(ids.size()));
    EXPECT_GE(ids.size(), 2u) << "the emulator's people walk through the left half in 30 s";
    std::printf("area events: %d enters of %zu objects in %zu rows\n", enters, ids.size(),
                lines.size() - 1);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, AreaEventsRun,
                         testing::Values(Language{"ENG", L"en", L"Prompt"},
                                         Language{"CHS", L"zh", L"\u63D0\u793A"}),
                         [](const testing::TestParamInfo<Language>& param) {
                             return std::string(param.param.setting);
                         });

}  // namespace
