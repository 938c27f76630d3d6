// The program under load for a long while (make soak, not part of make test): the emulator's
// crowd of 100 objects delivered 50 times a second, the program's resource counts read from
// outside every 10 s, the result log's lines and the library's delivered entries counted, the
// view's pixels compared between captures to see it still being painted. The samples go to a
// CSV and a plot, the verdict to a table (SoakJudge.h).
//
// SOAK_MINUTES (default 10) sets the run's length; ZUVO_SOAK_FOLDER (a Windows path) where
// soak.csv, soak.png and soak.txt go, by default the artefacts folder.
#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "resources/resource.h"
#include "tests/soak/ProcessCounters.h"
#include "tests/soak/SoakJudge.h"
#include "tests/support/Capture.h"
#include "tests/support/ProgramDriver.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WholeFile.h"

namespace {

using zuvo::soak::SoakSample;
using zuvo::test::Capture;
using zuvo::test::ProgramFolder;
using zuvo::test::RunningProgram;

constexpr double kSampleS = 10.0;
constexpr double kSettleS = 60.0;
constexpr DWORD kCaptureMs = 500;
// Every 4th pixel of every 4th row: a moving marker or a fading line changes some of them.
constexpr int kCaptureStep = 4;

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

double SoakMinutes() {
    const char* text = std::getenv("SOAK_MINUTES");
    const double minutes = text != nullptr ? std::atof(text) : 10.0;
    return minutes > 0.0 ? minutes : 10.0;
}

std::wstring OutputFolder() {
    const wchar_t* folder = _wgetenv(L"ZUVO_SOAK_FOLDER");
    if (folder == nullptr || *folder == L'\0') {
        return zuvo::test::ArtefactsFolder();
    }
    CreateDirectoryW(folder, nullptr);
    return folder;
}

// The last "Run: N entries delivered" of the library's diagnostics; -1 before the first.
int64_t LastReported(const std::string& diagnostics, const char* prefix) {
    const size_t at = diagnostics.rfind(prefix);
    if (at == std::string::npos) {
        return -1;
    }
    return std::atoll(diagnostics.c_str() + at + std::strlen(prefix));
}

size_t Occurrences(const std::string& text, const char* what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

// Counts the lines of a file that another process is writing, reading only what was added.
class LineCounter {
public:
    explicit LineCounter(std::wstring path) : m_path(std::move(path)) {}

    int64_t Count() {
        const zuvo::UniqueFileHandle file(CreateFileW(
            m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return m_lines;
        }
        LARGE_INTEGER offset;
        offset.QuadPart = m_offset;
        SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN);
        std::vector<char> buffer(1 << 20);
        DWORD read = 0;
        while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                        nullptr) &&
               read > 0) {
            m_lines += std::count(buffer.begin(), buffer.begin() + read, '\n');
            m_offset += read;
        }
        return m_lines;
    }

private:
    std::wstring m_path;
    int64_t m_offset = 0;
    int64_t m_lines = 0;
};

std::wstring FindResultLog(const ProgramFolder& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE search =
        FindFirstFileW(folder.File(L"Log\\ZUVO_MTT_Result_*.txt").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return std::wstring();
    }
    FindClose(search);
    return folder.File(L"Log\\") + entry.cFileName;
}

// Sampled pixels of the view, for telling whether it was painted since the last look. The
// capture is of the top-level window: under Wine a child window's own device context of
// another process gives pixels that never change.
std::vector<uint32_t> ViewSamples(HWND top, HWND view) {
    const Capture capture(top, Capture::Source::Window);
    RECT frame;
    GetWindowRect(top, &frame);
    RECT area;
    GetWindowRect(view, &area);
    std::vector<uint32_t> samples;
    for (int y = area.top - frame.top; y < area.bottom - frame.top; y += kCaptureStep) {
        for (int x = area.left - frame.left; x < area.right - frame.left; x += kCaptureStep) {
            const bool inside = x >= 0 && y >= 0 && x < capture.width() && y < capture.height();
            samples.push_back(inside ? capture.At(x, y) : 0);
        }
    }
    return samples;
}

struct PlotSeries {
    const char* title;
    std::vector<int64_t SoakSample::*> fields;  // drawn into one panel
    double scale;                               // shown value = count / scale
    const char* unit;
};

// The six panels as a picture of 1200 x 1080 pixels; the grey line marks the settling time.
Capture Plot(const std::vector<SoakSample>& samples) {
    const PlotSeries panels[] = {
        {"private bytes", {&SoakSample::privateBytes}, 1048576.0, "MiB"},
        {"GDI objects", {&SoakSample::gdiObjects}, 1.0, ""},
        {"USER objects", {&SoakSample::userObjects}, 1.0, ""},
        {"handles", {&SoakSample::handles}, 1.0, ""},
        {"delivered entries (blue), log lines (red)",
         {&SoakSample::delivered, &SoakSample::logLines},
         1e6,
         "million"},
        {"paints (changed view captures)", {&SoakSample::paints}, 1.0, ""},
    };
    constexpr int kWidth = 1200;
    constexpr int kHeight = 1080;
    constexpr int kPanelW = kWidth / 2;
    constexpr int kPanelH = kHeight / 3;
    Gdiplus::Bitmap bitmap(kWidth, kHeight, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(&bitmap);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        const Gdiplus::FontFamily family(L"Arial");
        const Gdiplus::Font font(&family, 13.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        const Gdiplus::SolidBrush ink(Gdiplus::Color(255, 0, 0, 0));
        const Gdiplus::Pen frame(Gdiplus::Color(255, 160, 160, 160), 1.0f);
        const Gdiplus::Pen settle(Gdiplus::Color(255, 200, 200, 200), 1.0f);
        const Gdiplus::Color colours[] = {Gdiplus::Color(255, 30, 90, 200),
                                          Gdiplus::Color(255, 210, 40, 40)};
        const double endS = samples.empty() ? 1.0 : std::max(1.0, samples.back().timeS);
        for (size_t p = 0; p < std::size(panels); ++p) {
            const PlotSeries& panel = panels[p];
            const float left = static_cast<float>((p % 2) * kPanelW + 70);
            const float top = static_cast<float>((p / 2) * kPanelH + 30);
            const float width = kPanelW - 90.0f;
            const float height = kPanelH - 60.0f;
            double low = 1e300;
            double high = -1e300;
            for (const SoakSample& s : samples) {
                for (auto field : panel.fields) {
                    low = std::min(low, s.*field / panel.scale);
                    high = std::max(high, s.*field / panel.scale);
                }
            }
            if (samples.empty()) {
                low = 0.0;
                high = 1.0;
            }
            // Counts that hardly move are shown with room around them, so a flat line looks
            // flat rather than like noise blown up to the panel's height.
            const double margin =
                std::max((high - low) * 0.1, std::max(std::fabs(high) * 0.02, 1.0 / panel.scale));
            low -= margin;
            high += margin;
            graphics.DrawRectangle(&frame, left, top, width, height);
            const float settleX = left + static_cast<float>(kSettleS / endS) * width;
            if (kSettleS < endS) {
                graphics.DrawLine(&settle, settleX, top, settleX, top + height);
            }
            wchar_t text[200];
            std::swprintf(text, std::size(text), L"%hs%ls%hs", panel.title,
                          *panel.unit != '\0' ? L", " : L"", panel.unit);
            graphics.DrawString(text, -1, &font, Gdiplus::PointF(left, top - 20.0f), &ink);
            std::swprintf(text, std::size(text), L"%.6g", high);
            graphics.DrawString(text, -1, &font, Gdiplus::PointF(left - 66.0f, top), &ink);
            std::swprintf(text, std::size(text), L"%.6g", low);
            graphics.DrawString(text, -1, &font,
                                Gdiplus::PointF(left - 66.0f, top + height - 14.0f), &ink);
            std::swprintf(text, std::size(text), L"0 s");
            graphics.DrawString(text, -1, &font, Gdiplus::PointF(left, top + height + 2.0f), &ink);
            std::swprintf(text, std::size(text), L"%.0f s", endS);
            graphics.DrawString(text, -1, &font,
                                Gdiplus::PointF(left + width - 50.0f, top + height + 2.0f), &ink);
            for (size_t f = 0; f < panel.fields.size(); ++f) {
                std::vector<Gdiplus::PointF> points;
                for (const SoakSample& s : samples) {
                    const double value = s.*panel.fields[f] / panel.scale;
                    points.emplace_back(
                        left + static_cast<float>(s.timeS / endS) * width,
                        top + height - static_cast<float>((value - low) / (high - low)) * height);
                }
                const Gdiplus::Pen line(colours[f], f == 0 ? 2.5f : 1.2f);
                if (points.size() >= 2) {
                    graphics.DrawLines(&line, points.data(), static_cast<INT>(points.size()));
                }
            }
        }
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    Gdiplus::Rect all(0, 0, kWidth, kHeight);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) ==
        Gdiplus::Ok) {
        for (int y = 0; y < kHeight; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const char*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
            for (int x = 0; x < kWidth; ++x) {
                pixels[static_cast<size_t>(y) * kWidth + x] = row[x] & 0xFFFFFF;
            }
        }
        bitmap.UnlockBits(&data);
    }
    return Capture(kWidth, kHeight, std::move(pixels));
}

TEST(Soak, TheProgramStaysFlatUnderACrowdDeliveredFiftyTimesASecond) {
    const double minutes = SoakMinutes();
    ProgramFolder folder;
    std::string config = folder.Read(L"Radar_Config.ini");
    Replace(config, "LightPort = 3", "LightPort = 240");  // no tower light attached
    Replace(config, "FramePeriodMs = 50", "FramePeriodMs = 20");
    Replace(config, "EmulatorObjects = 0", "EmulatorObjects = 100");
    // A newcomer about every 0.6 s: tracks keep ending and beginning.
    Replace(config, "EmulatorObjectLifeS = 0", "EmulatorObjectLifeS = 60");
    Replace(config, "EmulatorDeliveryReportS = 0", "EmulatorDeliveryReportS = 1");
    ASSERT_TRUE(folder.Write(L"Radar_Config.ini", config));
    ASSERT_TRUE(folder.Write(L"ZUVO_Diagnostics.on", ""));
    ASSERT_TRUE(folder.Write(L"appConfig.xml",
                             "<?xml version=\"1.0\"?>\n<AppConfig Language=\"ENG\" "
                             "ObjectCountType=\"3\" />\n"));

    RunningProgram program(folder);
    ASSERT_NE(program.Window(), nullptr);
    ASSERT_EQ(zuvo::test::DetectDevice(program), L"Radar Emulator Detected");
    const HWND view = program.Control(IDC_SECTOR_VIEW);
    ASSERT_NE(view, nullptr);
    program.Click(IDC_START_STOP);
    ASSERT_TRUE(RunningProgram::WaitUntil(
        [&] { return LastReported(folder.Read(L"ZUVO_Diagnostics.log"), "Run: ") >= 0; }, 30000))
        << "the library reports its deliveries";
    const std::wstring logPath = FindResultLog(folder);
    ASSERT_FALSE(logPath.empty()) << "the run writes a result log";
    LineCounter logLines(logPath);

    zuvo::soak::CountSources sources;
    std::vector<SoakSample> samples;
    int64_t paints = 0;
    std::vector<uint32_t> lastView = ViewSamples(program.Window(), view);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsedS = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const auto sample = [&](int64_t delivered) {
        const zuvo::soak::ProcessCounts counts =
            zuvo::soak::ReadProcessCounts(program.Process(), program.ProcessId(), &sources);
        SoakSample s;
        s.timeS = elapsedS();
        s.privateBytes = counts.privateBytes;
        s.gdiObjects = counts.gdiObjects;
        s.userObjects = counts.userObjects;
        s.handles = counts.handles;
        s.delivered = delivered;
        s.logLines = logLines.Count();
        s.paints = paints;
        samples.push_back(s);
        std::printf(
            "soak %6.1f s: private %lld, GDI %lld, USER %lld, handles %lld, delivered "
            "%lld, lines %lld, paints %lld\n",
            s.timeS, static_cast<long long>(s.privateBytes), static_cast<long long>(s.gdiObjects),
            static_cast<long long>(s.userObjects), static_cast<long long>(s.handles),
            static_cast<long long>(s.delivered), static_cast<long long>(s.logLines),
            static_cast<long long>(s.paints));
        std::fflush(stdout);
    };
    sample(LastReported(folder.Read(L"ZUVO_Diagnostics.log"), "Run: "));
    const double endS = minutes * 60.0;
    double nextSampleS = kSampleS;
    while (nextSampleS <= endS + 0.01) {
        Sleep(kCaptureMs);
        std::vector<uint32_t> now = ViewSamples(program.Window(), view);
        paints += now != lastView ? 1 : 0;
        lastView = std::move(now);
        if (elapsedS() >= nextSampleS) {
            sample(LastReported(folder.Read(L"ZUVO_Diagnostics.log"), "Run: "));
            nextSampleS += kSampleS;
        }
        ASSERT_EQ(program.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE))
            << "the program ended during the run";
    }

    // What the operator saw at the end of the run, for a look afterwards.
    EXPECT_FALSE(zuvo::test::CaptureWindow(program.Window(), L"soak_view").empty());
    // The stop flushes the log; the library's count at the stop is the one to match.
    program.Click(IDC_START_STOP);
    int64_t stopDelivered = -1;
    ASSERT_TRUE(RunningProgram::WaitUntil(
        [&] {
            stopDelivered = LastReported(folder.Read(L"ZUVO_Diagnostics.log"), "Stop: ");
            return stopDelivered >= 0;
        },
        30000))
        << "the run stops";
    RunningProgram::WaitUntil([&] { return logLines.Count() >= stopDelivered; }, 5000);
    sample(stopDelivered);

    const std::string diagnostics = folder.Read(L"ZUVO_Diagnostics.log");
    const zuvo::soak::SoakVerdict verdict = zuvo::soak::JudgeSoak(samples, kSettleS, stopDelivered);
    std::string report = zuvo::soak::FormatVerdict(verdict);
    char line[400];
    const double runS = samples[samples.size() - 2].timeS - samples.front().timeS;
    std::snprintf(
        line, sizeof(line),
        "run: %.1f minutes, %.0f entries a second delivered; frames dropped by the "
        "library: %zu (processing behind), %zu times (emulator behind)\n",
        minutes,
        runS > 0 ? (samples[samples.size() - 2].delivered - samples.front().delivered) / runS : 0.0,
        Occurrences(diagnostics, "processing is behind"),
        Occurrences(diagnostics, "frames behind"));
    report += line;
    report += "read as: private bytes by " + sources.privateBytes + "; GDI objects by " +
              sources.gdiObjects + "; USER objects by " + sources.userObjects + "; handles by " +
              sources.handles + "\n";
    std::printf("\n%s", report.c_str());

    const std::wstring out = OutputFolder();
    EXPECT_TRUE(zuvo::test::WriteWholeFile(out + L"\\soak.csv", zuvo::soak::SamplesCsv(samples)));
    EXPECT_TRUE(zuvo::test::WriteWholeFile(out + L"\\soak.txt", report));
    const std::wstring png = Plot(samples).Save(L"soak");
    EXPECT_FALSE(png.empty());
    if (!png.empty() && out != zuvo::test::ArtefactsFolder()) {
        EXPECT_TRUE(CopyFileW(png.c_str(), (out + L"\\soak.png").c_str(), FALSE));
    }

    program.Click(IDC_CLOSE);
    EXPECT_EQ(program.WaitForExit(30000), 0u);
    EXPECT_TRUE(verdict.pass) << report;
}

}  // namespace
