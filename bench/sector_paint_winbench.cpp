// The sector view's paint as the operator gets it: the real CObjectSectorWnd in a top-level
// window of the given size, a busy scene (PaintScene.h) moving at 20 Hz, timed with the
// performance counter. Run under Wine by tools/run-bench.sh on an X screen of the same size.
//
//   sector_paint_winbench --size 1920x1080 [--frames 200] [--seconds 10] --out results.json
//
// Two phases, each after 2 s of deliveries that give every track its 40 points:
//   1. Paced frames: every 50 ms one delivery, then one whole paint of the view (the repaint
//      the delivery asked for, done at once by UpdateWindow: compose, area fills, points, blit)
//      and one plain full-frame BitBlt from a memory DC with a DIB section (the floor). Each is
//      also timed until Wine has handed the window's pixels to the X server, which it does
//      when the thread next finds its queue empty ("shown"). Then paints in which a monitoring
//      area lights up, and paints after the operator drew the monitoring areas anew. The
//      paced frames are then timed again with every addition the operator can switch on: the
//      heat map, a statistics label in each monitoring area, the run-health overlay, their
//      texts changing as the program changes them.
//   2. A run of the program's kind: a worker thread delivers 100 objects every 50 ms the way
//      the radar library calls UpdateObjects and posts a refresh message to the main window;
//      the user-interface thread runs a plain message loop. Measured: delivery-to-screen
//      latency (from the UpdateObjects call to the end of the first paint that began after it
//      returned, and until that paint was shown) and the process's CPU time per second.
// The results are Google Benchmark JSON: medians and 99th percentiles as aggregates, ratios
// as counters.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "PaintScene.h"
#include "ZUVO_Common.h"
#include "framework/GdiplusSession.h"
#include "framework/Handles.h"
#include "sectorview/ObjectSectorWnd.h"

namespace {

using zuvo::bench::PaintScene;

constexpr int kViewId = 1200;
constexpr UINT kRefreshMessage = WM_USER + 259;  // what the main window posts after a delivery
constexpr UINT kRunOverMessage = WM_APP + 1;
constexpr UINT_PTR kTimingSubclassId = 0xBE7C;
constexpr COLORREF kInactive = RGB(0, 255, 255);
constexpr COLORREF kActive = RGB(0xDC, 0x54, 0x00);
constexpr int kWarmUpDeliveries = 40;  // one display time: every track has its 40 points

struct Options {
    int width = 1920;
    int height = 1080;
    int frames = 200;
    double seconds = 10.0;
    std::string out;
};

// ----- time -----

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / frequency;
}

void SleepUntil(double deadlineMs) {
    const double left = deadlineMs - NowMs();
    if (left > 0.0) {
        Sleep(static_cast<DWORD>(left));
    }
    while (NowMs() < deadlineMs) {
        Sleep(0);
    }
}

// User and kernel time of the process, ms.
double ProcessCpuMs() {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0.0;
    }
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// The q-quantile (0 ... 1) of values, interpolated between neighbours.
double Quantile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const double position = q * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(std::floor(position));
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] +
           (values[above] - values[below]) * (position - static_cast<double>(below));
}

// ----- windows -----

// Handles what is queued; the last, empty look at the queue is where Wine hands the windows'
// new pixels to the X server.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRefreshMessage:
            return 1;
        case kRunOverMessage:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

zuvo::UniqueWindow CreateHost(const Options& options) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"SectorPaintBench";
    RegisterClassExW(&windowClass);
    return zuvo::UniqueWindow(CreateWindowExW(
        0, L"SectorPaintBench", L"sector paint bench", WS_POPUP | WS_VISIBLE, 0, 0, options.width,
        options.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

void AddMonitorAreas(CObjectSectorWnd& view, const PaintScene& scene, COLORREF inactive,
                     COLORREF active) {
    for (const std::vector<int32_t>& area : scene.MonitorAreas()) {
        view.AddMonitorArea(area.data(), static_cast<int>(area.size() / 2), inactive, active);
    }
}

void LoadScene(CObjectSectorWnd& view, const PaintScene& scene) {
    for (const std::vector<int32_t>& boundary : scene.Boundaries()) {
        view.AddAlgorithmArea(boundary.data(), static_cast<int>(boundary.size() / 2), kInactive,
                              kActive);
    }
    AddMonitorAreas(view, scene, kInactive, kActive);
    int number = 1;
    for (const zuvo::bench::PointSpot& point : scene.Points()) {
        const std::wstring label = std::to_wstring(number++);
        view.AddMonitorPoint(point.distance, point.angle, 1.0, label.c_str(), RGB(0, 0, 255),
                             RGB(255, 0, 0));
    }
}

// A full-frame DIB section in its own memory DC, made as the view makes its frame: what the
// floor blits.
class FloorFrame {
public:
    FloorFrame(int width, int height) : m_width(width), m_height(height) {
        void* bits = nullptr;
        m_bitmap.reset(CreateHBitmap(&bits, width, -height, 32));
        if (m_bitmap) {
            auto* pixels = static_cast<uint32_t*>(bits);
            for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
                pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
            }
        }
        m_dc.reset(CreateCompatibleDC(nullptr));
        if (m_dc && m_bitmap) {
            m_select.emplace(m_dc.get(), m_bitmap.get());
        }
    }
    bool Ready() const { return m_select.has_value(); }

    void BlitTo(HWND window) const {
        const zuvo::WindowDc dc(window);
        BitBlt(dc.get(), 0, 0, m_width, m_height, m_dc.get(), 0, 0, SRCCOPY);
    }

private:
    int m_width;
    int m_height;
    zuvo::UniqueBitmap m_bitmap;
    zuvo::UniqueMemoryDc m_dc;
    std::optional<zuvo::SelectGuard> m_select;  // released before the DC and the bitmap
};

// ----- phase 1: paced frames -----

struct PacedTimes {
    std::vector<double> paint;
    std::vector<double> paintShown;
    std::vector<double> blit;
    std::vector<double> blitShown;
    std::vector<double> relit;         // paints in which a monitoring area lit up
    std::vector<double> areasChanged;  // paints after the monitoring areas were drawn anew
    std::vector<double> additions;     // the additions' own updates before a delivery
};

// The additions as the program feeds them between paints: every label's counts and dwell
// change about once a second (the areas staggered, so some label changes in most frames),
// the run-health figures once a second; the heat map counts every delivery's positions.
class Additions {
public:
    explicit Additions(size_t areas) : m_areas(areas) {}

    void SwitchOn(CObjectSectorWnd& view) {
        view.ShowHeatMap(true);
        Update(view, 0);
    }

    void Update(CObjectSectorWnd& view, int frame) {
        constexpr int kFramesPerSecond = 20;
        std::vector<std::wstring> texts(m_areas);
        for (size_t area = 0; area < m_areas; ++area) {
            const int second = (frame + static_cast<int>(area)) / kFramesPerSecond;
            wchar_t text[64];
            std::swprintf(text, 64, L"In %d \u00B7 Entries %d \u00B7 %d:%02d",
                          (second + static_cast<int>(area)) % 4, second / 3 + 1, second / 60,
                          second % 60);
            texts[area] = text;
        }
        view.SetAreaLabels(texts);
        const int second = frame / kFramesPerSecond;
        wchar_t health[160];
        std::swprintf(health, 160,
                      L"Deliveries/s %.1f\nObjects 100\nArea entries %d\nLog lines %d\n"
                      L"Paint %.1f ms\nLatency %.1f ms",
                      19.5 + (second % 5) * 0.1, 40 + second * 3, 2000 * (second + 1),
                      6.0 + (second % 3) * 0.1, 7.0 + (second % 4) * 0.1);
        view.SetHealthText(health);
    }

private:
    size_t m_areas;
};

constexpr int kRelitFrames = 16;
constexpr int kAreaChanges = 4;  // even: the areas end in their own colours

// One delivery (visiting the area visitArea, unless -1) and the paint it asks for, timed.
double DeliverAndPaint(CObjectSectorWnd& view, PaintScene& scene, int visitArea) {
    Pump();  // a clean start: nothing queued, the last frame on the screen
    // The delivery asks for the repaint that UpdateWindow then does at once.
    view.UpdateObjects(&scene.Next(visitArea));
    const double start = NowMs();
    UpdateWindow(view.GetSafeHwnd());
    return NowMs() - start;
}

// additions, when given, are updated before every delivery.
PacedTimes RunPacedFrames(CObjectSectorWnd& view, PaintScene& scene, const FloorFrame& floor,
                          int frames, Additions* additions = nullptr) {
    const HWND window = view.GetSafeHwnd();
    PacedTimes times;
    double next = NowMs();
    int frameCount = 0;
    auto updateAdditions = [&] {
        if (additions != nullptr) {
            const double start = NowMs();
            additions->Update(view, frameCount);
            times.additions.push_back(NowMs() - start);
        }
        ++frameCount;
    };
    for (int frame = -kWarmUpDeliveries; frame < frames; ++frame) {
        next += zuvo::bench::kDeliveryIntervalMs;
        SleepUntil(next);
        updateAdditions();
        const double paint = DeliverAndPaint(view, scene, -1);
        const double painted = NowMs();
        Pump();
        const double shown = NowMs();
        floor.BlitTo(window);
        const double blitted = NowMs();
        Pump();
        const double blitShown = NowMs();
        if (frame >= 0) {
            times.paint.push_back(paint);
            times.paintShown.push_back(paint + (shown - painted));
            times.blit.push_back(blitted - shown);
            times.blitShown.push_back(blitShown - shown);
        }
    }
    // Areas that light up: a new object in an unlit area every frame (and the oldest of them
    // dropped, the view keeping 100 tracks).
    for (int frame = 0; frame < kRelitFrames; ++frame) {
        next += zuvo::bench::kDeliveryIntervalMs;
        SleepUntil(next);
        updateAdditions();
        times.relit.push_back(DeliverAndPaint(view, scene, zuvo::bench::kLitAreaCount + frame));
    }
    // The operator draws the areas anew (here: in other colours, then in their own).
    for (int change = 0; change < kAreaChanges; ++change) {
        Pump();
        const double start = NowMs();
        view.ClearMonitorAreas();
        AddMonitorAreas(view, scene, change % 2 == 0 ? kActive : kInactive,
                        change % 2 == 0 ? kInactive : kActive);
        UpdateWindow(window);
        times.areasChanged.push_back(NowMs() - start);
    }
    return times;
}

// ----- phase 2: a run of the program's kind -----

struct PaintRecord {
    int64_t completed;  // the last delivery whose UpdateObjects had returned when the paint began
    double end;
    double shown;
};

struct RunRecords {
    std::vector<double> deliveries;  // when each UpdateObjects was called
    std::vector<PaintRecord> paints;
    std::atomic<int64_t> completed{-1};
    double wallMs = 0.0;
    double cpuMs = 0.0;
};

LRESULT CALLBACK TimingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
    if (message != WM_PAINT) {
        return DefSubclassProc(window, message, wParam, lParam);
    }
    auto* records = reinterpret_cast<RunRecords*>(data);
    const int64_t completed = records->completed.load();
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    const double end = NowMs();
    // What the loop does next anyway: an empty queue hands the pixels to the X server.
    MSG peek;
    PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE);
    records->paints.push_back(PaintRecord{completed, end, NowMs()});
    return result;
}

void RunLikeTheProgram(CObjectSectorWnd& view, HWND host, PaintScene& scene, double seconds,
                       RunRecords& records) {
    const HWND window = view.GetSafeHwnd();
    // Deliveries for one display time first, so the tracks are full when measuring starts.
    for (int i = 0; i < kWarmUpDeliveries; ++i) {
        SleepUntil(NowMs() + zuvo::bench::kDeliveryIntervalMs);
        view.UpdateObjects(&scene.Next());
        Pump();
    }
    SetWindowSubclass(window, TimingProc, kTimingSubclassId, reinterpret_cast<DWORD_PTR>(&records));
    const double cpuBefore = ProcessCpuMs();
    const double start = NowMs();
    const int count = static_cast<int>(seconds * 1000.0 / zuvo::bench::kDeliveryIntervalMs);
    records.deliveries.reserve(static_cast<size_t>(count));
    // The radar library's delivering thread: it never waits for the screen.
    std::thread radar([&]() noexcept {
        for (int n = 0; n < count; ++n) {
            SleepUntil(start + (n + 1) * static_cast<double>(zuvo::bench::kDeliveryIntervalMs));
            records.deliveries.push_back(NowMs());
            view.UpdateObjects(&scene.Next());
            records.completed.store(n);
            PostMessageW(host, kRefreshMessage, 0, 0);
        }
        // Time for the last delivery's paint before the loop ends.
        Sleep(200);
        PostMessageW(host, kRunOverMessage, 0, 0);
    });
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    radar.join();
    records.wallMs = NowMs() - start;
    records.cpuMs = ProcessCpuMs() - cpuBefore;
    RemoveWindowSubclass(window, TimingProc, kTimingSubclassId);
}

struct Latencies {
    std::vector<double> toPaint;
    std::vector<double> toShown;
    int unshown = 0;
};

Latencies LatenciesOf(const RunRecords& records) {
    Latencies latencies;
    size_t paint = 0;
    for (size_t n = 0; n < records.deliveries.size(); ++n) {
        while (paint < records.paints.size() &&
               records.paints[paint].completed < static_cast<int64_t>(n)) {
            ++paint;
        }
        if (paint == records.paints.size()) {
            ++latencies.unshown;
            continue;
        }
        latencies.toPaint.push_back(records.paints[paint].end - records.deliveries[n]);
        latencies.toShown.push_back(records.paints[paint].shown - records.deliveries[n]);
    }
    return latencies;
}

// ----- results -----

class BenchmarkJson {
public:
    BenchmarkJson(const Options& options)
        : m_size(std::to_string(options.width) + "x" + std::to_string(options.height)) {}

    // A median and a 99th-percentile aggregate of values (ms), each with counters.
    void AddTimes(const std::string& what, const std::vector<double>& values,
                  const std::vector<std::pair<std::string, double>>& medianCounters = {},
                  const std::vector<std::pair<std::string, double>>& p99Counters = {}) {
        Add(what, "median", Quantile(values, 0.5), values.size(), medianCounters);
        Add(what, "p99", Quantile(values, 0.99), values.size(), p99Counters);
    }

    void Add(const std::string& what, const std::string& aggregate, double ms, size_t samples,
             const std::vector<std::pair<std::string, double>>& counters) {
        const std::string run = "SectorPaintWine/" + what + "/" + m_size;
        std::ostringstream entry;
        entry.precision(6);
        entry << "  {\"name\": \"" << run << "_" << aggregate << "\", \"run_name\": \"" << run
              << "\", \"run_type\": \"aggregate\", \"repetitions\": " << samples
              << ", \"threads\": 1, \"aggregate_name\": \"" << aggregate
              << "\", \"aggregate_unit\": \"time\", \"iterations\": " << samples
              << ", \"real_time\": " << ms << ", \"cpu_time\": " << ms << ", \"time_unit\": \"ms\"";
        for (const auto& [name, value] : counters) {
            entry << ", \"" << name << "\": " << value;
        }
        entry << "}";
        m_entries.push_back(entry.str());
    }

    void AddContext(const std::string& name, const std::string& value) {
        m_context.emplace_back(name, "\"" + value + "\"");
    }
    void AddContext(const std::string& name, double value) {
        std::ostringstream text;
        text << value;
        m_context.emplace_back(name, text.str());
    }

    bool Write(const std::string& path) const {
        std::ofstream file(path);
        file << "{\n \"context\": {";
        for (size_t i = 0; i < m_context.size(); ++i) {
            file << (i == 0 ? "\n  " : ",\n  ") << "\"" << m_context[i].first
                 << "\": " << m_context[i].second;
        }
        file << "\n },\n \"benchmarks\": [\n";
        for (size_t i = 0; i < m_entries.size(); ++i) {
            file << m_entries[i] << (i + 1 < m_entries.size() ? ",\n" : "\n");
        }
        file << " ]\n}\n";
        return static_cast<bool>(file);
    }

private:
    std::string m_size;
    std::vector<std::pair<std::string, std::string>> m_context;
    std::vector<std::string> m_entries;
};

std::string WineVersion() {
    using Version = const char*(CDECL*)();
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto version = ntdll != nullptr ? reinterpret_cast<Version>(reinterpret_cast<void*>(
                                                GetProcAddress(ntdll, "wine_get_version")))
                                          : nullptr;
    return version != nullptr ? version() : "none";
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof(text), "%Y-%m-%dT%H:%M:%S", std::localtime(&now));
    return text;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--size") {
            if (std::sscanf(value, "%dx%d", &options.width, &options.height) != 2) {
                return false;
            }
        } else if (name == "--frames") {
            options.frames = std::atoi(value);
        } else if (name == "--seconds") {
            options.seconds = std::atof(value);
        } else if (name == "--out") {
            options.out = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && !options.out.empty() && options.width > 0 && options.height > 0 &&
           options.frames > 0 && options.seconds > 0.0;
}

int Run(const Options& options) {
    const zuvo::GdiplusSession gdiplus;
    if (!gdiplus.IsRunning()) {
        std::fprintf(stderr, "sector_paint_winbench: GDI+ does not start\n");
        return 1;
    }
    zuvo::UniqueWindow host = CreateHost(options);
    CObjectSectorWnd view;
    if (!host || !view.Create(host.get(), RECT{0, 0, options.width, options.height}, kViewId)) {
        std::fprintf(stderr, "sector_paint_winbench: no window\n");
        return 1;
    }
    view.ApplyViewSettings(zuvo::bench::PaintSceneConfig(), nullptr);
    PaintScene scene(view.Scene().Geometry(), 11);
    LoadScene(view, scene);
    Pump();
    UpdateWindow(view.GetSafeHwnd());  // the background and the masks
    Pump();
    const FloorFrame floor(options.width, options.height);
    if (!floor.Ready()) {
        std::fprintf(stderr, "sector_paint_winbench: no DIB section for the floor\n");
        return 1;
    }

    const PacedTimes paced = RunPacedFrames(view, scene, floor, options.frames);
    std::set<int> lit;
    size_t points = 0;
    const std::vector<zuvo::sector::SectorTrack> tracks = view.Scene().CopyTracks();
    for (const zuvo::sector::SectorTrack& track : tracks) {
        if (track.monitorIndex >= 0) {
            lit.insert(track.monitorIndex);
        }
        points += track.points.size();
    }

    // The same frames with every addition on; the heat map already holds the positions of
    // all the frames before.
    Additions additions(scene.MonitorAreas().size());
    additions.SwitchOn(view);
    UpdateWindow(view.GetSafeHwnd());
    const PacedTimes added = RunPacedFrames(view, scene, floor, options.frames, &additions);
    const uint64_t heatPositions = view.Scene().HeatMapTotal();
    view.ShowHeatMap(false);
    view.ClearAreaLabels();
    view.SetHealthText(std::wstring());

    RunRecords records;
    RunLikeTheProgram(view, host.get(), scene, options.seconds, records);
    const Latencies latencies = LatenciesOf(records);

    BenchmarkJson json(options);
    json.AddContext("date", Today());
    json.AddContext("executable", "sector_paint_winbench");
    json.AddContext("wine_version", WineVersion());
    json.AddContext("view_width", options.width);
    json.AddContext("view_height", options.height);
    json.AddContext("tracks", static_cast<double>(tracks.size()));
    json.AddContext("points_per_track",
                    tracks.empty() ? 0.0 : static_cast<double>(points) / tracks.size());
    json.AddContext("lit_monitor_areas", static_cast<double>(lit.size()));
    json.AddContext("deliveries", static_cast<double>(records.deliveries.size()));
    json.AddContext("paints_in_run", static_cast<double>(records.paints.size()));
    json.AddContext("unshown_deliveries", latencies.unshown);

    const double paintMedian = Quantile(paced.paint, 0.5);
    const double blitMedian = Quantile(paced.blit, 0.5);
    const double paintP99 = Quantile(paced.paint, 0.99);
    const double blitP99 = Quantile(paced.blit, 0.99);
    const double shownMedian = Quantile(paced.paintShown, 0.5);
    const double blitShownMedian = Quantile(paced.blitShown, 0.5);
    const double shownP99 = Quantile(paced.paintShown, 0.99);
    const double blitShownP99 = Quantile(paced.blitShown, 0.99);
    json.AddTimes("Paint", paced.paint, {{"over_blit", paintMedian / blitMedian}},
                  {{"over_blit", paintP99 / blitP99}});
    json.AddTimes("Blit", paced.blit);
    json.AddTimes("PaintAreaLitUp", paced.relit,
                  {{"over_blit", Quantile(paced.relit, 0.5) / blitMedian}},
                  {{"over_blit", Quantile(paced.relit, 0.99) / blitP99}});
    json.AddTimes("PaintAreasRedrawn", paced.areasChanged,
                  {{"over_blit", Quantile(paced.areasChanged, 0.5) / blitMedian}},
                  {{"over_blit", Quantile(paced.areasChanged, 0.99) / blitP99}});
    const double addedMedian = Quantile(added.paint, 0.5);
    const double addedRelit = Quantile(added.relit, 0.5);
    json.AddContext("heat_map_positions", static_cast<double>(heatPositions));
    json.AddTimes(
        "PaintWithAdditions", added.paint,
        {{"over_paint", addedMedian / paintMedian}, {"over_blit", addedMedian / blitMedian}},
        {{"over_paint", Quantile(added.paint, 0.99) / paintP99}});
    json.AddTimes("PaintAreaLitUpWithAdditions", added.relit,
                  {{"over_paint", addedRelit / Quantile(paced.relit, 0.5)}});
    json.AddTimes("AdditionsUpdate", added.additions);
    json.AddTimes("PaintShown", paced.paintShown,
                  {{"over_blit_shown", shownMedian / blitShownMedian}},
                  {{"over_blit_shown", shownP99 / blitShownP99}});
    json.AddTimes("BlitShown", paced.blitShown);
    const double frameMs = 1000.0 / 60.0;
    json.AddTimes("Latency", latencies.toPaint,
                  {{"goal_ms", frameMs + paintMedian},
                   {"over_goal", Quantile(latencies.toPaint, 0.5) / (frameMs + paintMedian)}},
                  {{"goal_ms", 3 * frameMs},
                   {"over_goal", Quantile(latencies.toPaint, 0.99) / (3 * frameMs)}});
    json.AddTimes("LatencyShown", latencies.toShown);
    const double share = records.wallMs > 0.0 ? records.cpuMs / records.wallMs : 0.0;
    json.Add("CpuPerSecond", "mean", share * 1000.0, 1,
             {{"core_share", share}, {"wall_s", records.wallMs / 1000.0}});
    if (!json.Write(options.out)) {
        std::fprintf(stderr, "sector_paint_winbench: cannot write %s\n", options.out.c_str());
        return 1;
    }
    std::printf("%s: paint %.2f ms (p99 %.2f), blit %.2f ms (p99 %.2f), ratio %.2f\n",
                options.out.c_str(), paintMedian, paintP99, blitMedian, blitP99,
                paintMedian / blitMedian);
    std::printf("area lit up: paint %.2f ms (p99 %.2f); areas redrawn: paint %.2f ms (p99 %.2f)\n",
                Quantile(paced.relit, 0.5), Quantile(paced.relit, 0.99),
                Quantile(paced.areasChanged, 0.5), Quantile(paced.areasChanged, 0.99));
    std::printf(
        "with every addition: paint %.2f ms (p99 %.2f), %.2f x the paint without; area "
        "lit up %.2f ms; the additions' updates %.2f ms (p99 %.2f); %llu positions\n",
        addedMedian, Quantile(added.paint, 0.99), addedMedian / paintMedian, addedRelit,
        Quantile(added.additions, 0.5), Quantile(added.additions, 0.99),
        static_cast<unsigned long long>(heatPositions));
    std::printf("shown: paint %.2f ms (p99 %.2f), blit %.2f ms (p99 %.2f), ratio %.2f\n",
                shownMedian, shownP99, blitShownMedian, blitShownP99,
                shownMedian / blitShownMedian);
    std::printf("latency %.2f ms (p99 %.2f), shown %.2f ms (p99 %.2f); cpu %.1f %% of a core\n",
                Quantile(latencies.toPaint, 0.5), Quantile(latencies.toPaint, 0.99),
                Quantile(latencies.toShown, 0.5), Quantile(latencies.toShown, 0.99), share * 100.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: sector_paint_winbench --size WxH [--frames N] [--seconds S] --out "
                     "file.json\n");
        return 2;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sector_paint_winbench: %s\n", error.what());
        return 1;
    }
}
