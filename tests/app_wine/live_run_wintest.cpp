// A live run with the radar emulator as the operator sees it: tracks with their fading lines,
// a monitoring area and a monitoring point, kept as artefacts/live_run_<flavour>.png for each
// flavour of the utility library the test runs with (normal, and strict as Strict.LiveRun.*).
// The line drawing belongs to the utility library, which promises only a line of the given
// width with intensities 0 to 255; the picture must be right with either flavour.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "resources/resource.h"
#include "tests/support/Capture.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/UtilityFlavour.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::test::Capture;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

constexpr DWORD kTimeoutMs = 30000;
// The track line's colour, 0xFFFCB0FD without its alpha.
constexpr uint32_t kLineColour = 0xFCB0FD;
// The source alpha of a fresh track's line where the line is drawn at full intensity.
constexpr double kFreshLineAlpha = 223.0 / 255.0;

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

int Channel(uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

// The weight with which after is the line colour blended over before, if it is one: every
// channel in which the two colours differ clearly must give the same alpha, within one step of
// the 8-bit result. Channels too close to the line colour only have to stay in range.
std::optional<double> LineAlpha(uint32_t before, uint32_t after) {
    double low = 0.0;
    double high = 1.0;
    int telling = 0;
    for (int shift : {16, 8, 0}) {
        const int d = Channel(before, shift);
        const int c = Channel(kLineColour, shift);
        const int r = Channel(after, shift);
        if (std::abs(c - d) < 24) {
            if (r < std::min(c, d) - 1 || r > std::max(c, d) + 1) {
                return std::nullopt;
            }
            continue;
        }
        ++telling;
        const double first = (r - 1.0 - d) / (c - d);
        const double second = (r + 1.0 - d) / (c - d);
        low = std::max(low, std::min(first, second));
        high = std::min(high, std::max(first, second));
    }
    // A change of a step or two is no line; two telling channels rule out a blend of another
    // colour that happens to match in one.
    if (telling < 2 || low > high || high < 0.05) {
        return std::nullopt;
    }
    return (low + high) / 2.0;
}

// The pixels of a view whose change from one capture to the other is the line colour blended
// over what was there, grouped into 8-connected pieces.
struct LinePiece {
    int pixels = 0;
    int left = INT32_MAX;
    int top = INT32_MAX;
    int right = INT32_MIN;
    int bottom = INT32_MIN;
    double minAlpha = 1.0;
    double maxAlpha = 0.0;
    int sampleX = 0;  // the piece's pixel of the highest alpha
    int sampleY = 0;
    int extent() const { return std::max(right - left, bottom - top) + 1; }
};

LinePiece LargestLinePiece(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after,
                           int width, int height) {
    std::vector<double> alpha(before.size(), -1.0);
    for (size_t i = 0; i < before.size(); ++i) {
        if (const std::optional<double> a = LineAlpha(before[i], after[i])) {
            alpha[i] = *a;
        }
    }
    LinePiece largest;
    std::vector<bool> seen(before.size(), false);
    std::vector<int> stack;
    for (size_t start = 0; start < alpha.size(); ++start) {
        if (alpha[start] < 0.0 || seen[start]) {
            continue;
        }
        LinePiece piece;
        seen[start] = true;
        stack.assign(1, static_cast<int>(start));
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            const int x = at % width;
            const int y = at / width;
            ++piece.pixels;
            piece.left = std::min(piece.left, x);
            piece.right = std::max(piece.right, x);
            piece.top = std::min(piece.top, y);
            piece.bottom = std::max(piece.bottom, y);
            piece.minAlpha = std::min(piece.minAlpha, alpha[at]);
            if (alpha[at] > piece.maxAlpha) {
                piece.maxAlpha = alpha[at];
                piece.sampleX = x;
                piece.sampleY = y;
            }
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx;
                    const int ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height) {
                        continue;
                    }
                    const int next = ny * width + nx;
                    if (alpha[next] >= 0.0 && !seen[next]) {
                        seen[next] = true;
                        stack.push_back(next);
                    }
                }
            }
        }
        if (piece.pixels > largest.pixels) {
            largest = piece;
        }
    }
    return largest;
}

// The view's pixels in a capture of its top-level window.
std::vector<uint32_t> ViewPixels(const Capture& capture, HWND top, HWND view, int* width,
                                 int* height) {
    RECT frame;
    GetWindowRect(top, &frame);
    RECT client;
    GetClientRect(view, &client);
    POINT origin{0, 0};
    ClientToScreen(view, &origin);
    *width = client.right;
    *height = client.bottom;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const int column = origin.x - frame.left + x;
            const int row = origin.y - frame.top + y;
            const bool inside =
                column >= 0 && row >= 0 && column < capture.width() && row < capture.height();
            pixels.push_back(inside ? capture.At(column, row) : 0);
        }
    }
    return pixels;
}

// The file of the ZUVO_Common.dll module that the process has loaded; empty when none.
std::wstring LoadedUtilityLibrary(DWORD processId) {
    const HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    if (raw == INVALID_HANDLE_VALUE) {
        return std::wstring();
    }
    const zuvo::UniqueKernelHandle snapshot(raw);
    MODULEENTRY32W module{};
    module.dwSize = sizeof(module);
    for (BOOL more = Module32FirstW(snapshot.get(), &module); more;
         more = Module32NextW(snapshot.get(), &module)) {
        if (_wcsicmp(module.szModule, L"ZUVO_Common.dll") == 0) {
            return module.szExePath;
        }
    }
    return std::wstring();
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%06X", value);
    return text;
}

TEST(LiveRun, TrackLinesAreTheLineColourOverTheBackground) {
    ProgramFolder folder;
    std::string config = folder.Read(L"Radar_Config.ini");
    Replace(config, "LightPort = 3", "LightPort = 240");  // no tower light attached
    ASSERT_TRUE(folder.Write(L"Radar_Config.ini", config));
    // Three objects, lines as wide as the markers' radius, a monitoring area ahead of the
    // sensor and a monitoring point to its right.
    ASSERT_TRUE(folder.Write(
        L"appConfig.xml",
        "<?xml version=\"1.0\"?>\n<AppConfig Language=\"ENG\" ObjectCountType=\"3\" "
        "ObjectWnd_LocusRadiusScale=\"1.0\" ObjectWnd_DisplayTime=\"3000\">\n"
        "\t<MonitorArea BoundSize=\"1000,500\" Points=\"150,420; 150,580; 300,580; 300,420; \"/>\n"
        "\t<MonitorPoint Enable=\"1\" RadiusScale=\"2.0\" Position=\"14,-60; \"/>\n"
        "</AppConfig>\n"));
    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    EXPECT_EQ(zuvo::test::ReadWholeFile(LoadedUtilityLibrary(program.ProcessId())),
              zuvo::test::ReadWholeFile(zuvo::test::UtilityLibraryFolder() + L"\\ZUVO_Common.dll"))
        << "the program runs with the utility library of the flavour the test chose";

    ASSERT_FALSE(zuvo::test::DetectDevice(program).empty()) << "no detection result";
    Sleep(500);  // the view repaints where the box was

    const HWND view = program.Control(IDC_SECTOR_VIEW);
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> before =
        ViewPixels(Capture(program.Window(), Capture::Source::Window), program.Window(), view,
                   &width, &height);
    ASSERT_GT(width, 0);

    program.Click(IDC_START_STOP);
    ASSERT_TRUE(zuvo::test::WaitForObjectOnPanel(program, IDC_OBJECT_PANEL_1, kTimeoutMs))
        << "the emulator's people reach the panel";
    Sleep(2500);  // long enough for tracks to draw their lines
    const Capture during(program.Window(), Capture::Source::Window);
    const std::wstring name = std::wstring(L"live_run_") + zuvo::test::UtilityFlavourName();
    EXPECT_FALSE(during.Save(name).empty());
    int duringWidth = 0;
    int duringHeight = 0;
    const std::vector<uint32_t> after =
        ViewPixels(during, program.Window(), view, &duringWidth, &duringHeight);
    ASSERT_EQ(duringWidth, width);
    ASSERT_EQ(duringHeight, height);
    program.Click(IDC_START_STOP);

    const LinePiece line = LargestLinePiece(before, after, width, height);
    const size_t at = static_cast<size_t>(line.sampleY) * width + line.sampleX;
    // Reported for the comparison of the two flavours.
    std::printf(
        "live run (%ls): track line of %d pixels over %d x %d, alpha %.3f ... %.3f; "
        "at (%d, %d) background %s, shown %s\n",
        zuvo::test::UtilityFlavourName(), line.pixels, line.right - line.left + 1,
        line.bottom - line.top + 1, line.minAlpha, line.maxAlpha, line.sampleX, line.sampleY,
        Hex(before[at]).c_str(), Hex(after[at]).c_str());
    // A line along a walk, not a marker's rim or a stray pixel: the emulator's people move
    // far more than a line's width within the display time.
    EXPECT_GE(line.pixels, 60);
    EXPECT_GE(line.extent(), 20);
    // A fresh line's middle is blended with 223 / 255 at least: more where the frame's pixel
    // is not opaque (the over blend then weighs the line more), never less.
    EXPECT_GE(line.maxAlpha, kFreshLineAlpha - 0.02) << "the line's middle is clearly coloured";
}

}  // namespace
