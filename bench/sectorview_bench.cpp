// The sector view's steps at full HD and 4K, most of them beside their straightforward
// reference implementation (<Step>Reference), so that the speed-up is measured in one run:
//   SectorMaskShading  sector mask and background shading of the fan
//   AreaMasks          both area masks, 32 polygons of 1000 vertices each
//   Memcpy             one copy of the frame: the floor of a compose
//   Compose            one frame of a moving scene (100 tracks of 40 points with lines and
//                      markers, 20 monitoring points), one delivery before each, not timed
//   ComposeAreas       the same with 8 monitoring areas, filled by the portable fill
//   ComposeLibraryLines  the utility library's share of Compose: its track lines alone
//   UpdateObjects      a batch of 100 objects into 100 tracks, smooth count 255
// After the table each compose's time is given as a multiple of Memcpy of its size.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "ReferenceView.h"
#include "sectorview/PixelAreaPainter.h"
#include "sectorview/SectorMask.h"
#include "sectorview/SectorScene.h"
#include "sectorview/SectorShading.h"
#include "sectorview/TrackPainter.h"

namespace zuvo::sector {
namespace {

constexpr uint32_t kFrameIntervalMs = 50;  // a 20 Hz sensor: 40 points in 2 s

SectorViewConfig BenchConfig() {
    SectorViewConfig config;  // the settings file's defaults: -150 ... -30, 20 rings
    config.topViewMode = 1;
    config.gateMin = 2.0;
    config.gateMax = 28.0;
    config.displayTimeMs = 2000;
    config.smoothCount = 3;
    return config;
}

// ----- sector mask and shading -----

void SectorMaskShading(benchmark::State& state, int width, int height) {
    const SectorViewSettings settings = ApplyConfig(SectorViewSettings{}, BenchConfig());
    const SectorGeometry g = ComputeGeometry(width, height, settings);
    std::vector<uint8_t> mask(static_cast<size_t>(width) * height);
    std::vector<uint32_t> pixels(mask.size());
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), kPlainFillColour);
        BuildSectorMask(g, settings, mask.data());
        ShadeSector(g, settings, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::DoNotOptimize(mask.data());
    }
}

void SectorMaskShadingReference(benchmark::State& state, int width, int height) {
    const SectorViewSettings settings = ApplyConfig(SectorViewSettings{}, BenchConfig());
    const SectorGeometry g = ComputeGeometry(width, height, settings);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), kPlainFillColour);
        std::vector<uint8_t> mask = reference::SectorMask(g, settings);
        reference::ShadeSector(g, settings, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::DoNotOptimize(mask.data());
    }
}

// ----- area masks -----

// A ragged star of 1000 vertices around a point of the fan, as an operator's freehand outline
// might be: concave, every scan line crossing it many times.
std::vector<int32_t> RaggedPolygon(std::mt19937& random, const SectorGeometry& g) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double scale = g.radius / 960.0;  // sizes grow with the view
    const double angle = -150.0 + 120.0 * unit(random);
    const double distance = g.radius * (0.2 + 0.7 * unit(random));
    const double centreX = g.originX + distance * std::cos(angle * kPi / 180.0);
    const double centreY = g.originY - distance * std::sin(angle * kPi / 180.0);
    const double size = (40.0 + 110.0 * unit(random)) * scale;
    std::vector<int32_t> pairs;
    for (int i = 0; i < 1000; ++i) {
        const double a = 2.0 * kPi * i / 1000.0;
        const double r = size * (0.55 + 0.45 * unit(random));
        pairs.push_back(static_cast<int32_t>(centreY + r * std::sin(a)) - g.sector.top);
        pairs.push_back(static_cast<int32_t>(centreX + r * std::cos(a)) - g.sector.left);
    }
    return pairs;
}

struct AreaBench {
    SectorScene scene;

    AreaBench(int width, int height) {
        scene.ApplyConfig(BenchConfig());
        scene.Relayout(width, height);
        std::mt19937 random(11);
        for (int i = 0; i < kAreaSlots; ++i) {
            const std::vector<int32_t> a = RaggedPolygon(random, scene.Geometry());
            const std::vector<int32_t> b = RaggedPolygon(random, scene.Geometry());
            scene.AddMonitorArea(a.data(), 1000, 0x00FFFF00, 0x000054DC);
            scene.AddAlgorithmArea(b.data(), 1000, 0x00FFFF00, 0x000054DC);
        }
    }
};

void AreaMasks(benchmark::State& state, int width, int height) {
    AreaBench bench(width, height);
    std::vector<uint32_t> boundaryMask;
    std::vector<uint32_t> monitorMask;
    for (auto _ : state) {
        BuildAreaMask(bench.scene.AlgorithmAreas(), width, height, boundaryMask);
        BuildAreaMask(bench.scene.MonitorAreas(), width, height, monitorMask);
        benchmark::DoNotOptimize(boundaryMask.data());
        benchmark::DoNotOptimize(monitorMask.data());
    }
}

void AreaMasksReference(benchmark::State& state, int width, int height) {
    AreaBench bench(width, height);
    for (auto _ : state) {
        std::vector<uint32_t> boundaryMask =
            reference::AreaMask(bench.scene.AlgorithmAreas(), width, height, false);
        std::vector<uint32_t> monitorMask =
            reference::AreaMask(bench.scene.MonitorAreas(), width, height, false);
        benchmark::DoNotOptimize(boundaryMask.data());
        benchmark::DoNotOptimize(monitorMask.data());
    }
}

// ----- tracks -----

// 100 objects walking through the fan at 1 to 3 gates a second, seen every 50 ms.
class Walkers {
public:
    explicit Walkers(uint32_t seed) : m_random(seed) {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int id = 0; id < 100; ++id) {
            m_objects.push_back(
                SectorObject{id, 4.0 + 20.0 * unit(m_random), -140.0 + 100.0 * unit(m_random)});
            m_steps.push_back({(0.05 + 0.1 * unit(m_random)) * (unit(m_random) < 0.5 ? -1 : 1),
                               (0.1 + 0.5 * unit(m_random)) * (unit(m_random) < 0.5 ? -1 : 1)});
        }
    }

    // The next batch: every object one step further, turning back at the windows' edges.
    const CPtrListCtrl& Next() {
        m_list.RemoveAll();
        for (size_t i = 0; i < m_objects.size(); ++i) {
            SectorObject& object = m_objects[i];
            Step& step = m_steps[i];
            if (object.distance + step.distance < 3.0 || object.distance + step.distance > 27.0) {
                step.distance = -step.distance;
            }
            if (object.angle + step.angle < -148.0 || object.angle + step.angle > -32.0) {
                step.angle = -step.angle;
            }
            object.distance += step.distance;
            object.angle += step.angle;
            m_list.AddData(&object, -1);
        }
        return m_list;
    }

private:
    struct Step {
        double distance;
        double angle;
    };
    std::mt19937 m_random;
    std::vector<SectorObject> m_objects;
    std::vector<Step> m_steps;
    CPtrListCtrl m_list;
};

// Monitoring areas as an operator clicks them: 8 polygons of 5 to 12 vertices around points of
// the fan, 8 to 20 % of the fan radius across, some of them overlapping.
void AddClickedAreas(SectorScene& scene) {
    const SectorGeometry& g = scene.Geometry();
    std::mt19937 random(17);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int area = 0; area < 8; ++area) {
        const double angle = -140.0 + 100.0 * unit(random);
        const double distance = g.radius * (0.25 + 0.6 * unit(random));
        const double centreX = g.originX + distance * std::cos(angle * kPi / 180.0);
        const double centreY = g.originY - distance * std::sin(angle * kPi / 180.0);
        const double size = g.radius * (0.08 + 0.12 * unit(random));
        const int count = 5 + static_cast<int>(8.0 * unit(random));
        std::vector<int32_t> pairs;
        for (int i = 0; i < count; ++i) {
            const double a = 2.0 * kPi * (i + 0.6 * unit(random)) / count;
            const double r = size * (0.6 + 0.4 * unit(random));
            pairs.push_back(static_cast<int32_t>(centreY + r * std::sin(a)) - g.sector.top);
            pairs.push_back(static_cast<int32_t>(centreX + r * std::cos(a)) - g.sector.left);
        }
        scene.AddMonitorArea(pairs.data(), count, 0x00FFFF00, 0x000054DC);
    }
    scene.RefreshMasks();
}

// A scene in motion, as a run shows it: 100 objects walking, delivered at 20 Hz (so 100 tracks
// of 40 points once the display time has passed), 20 monitoring points, and a paint after each
// delivery, 50 ms after the last one. Tracks move, fade and lose their oldest points, and the
// monitoring points light up and go dark, from frame to frame.
struct MovingScene {
    SectorScene scene;
    MonitorPointList points;  // the same points, for the reference
    Walkers walkers{5};
    std::vector<uint32_t> background;
    std::vector<uint32_t> frame;
    uint32_t now = 0;

    MovingScene(int width, int height, bool areas) {
        scene.ApplyConfig(BenchConfig());
        scene.Relayout(width, height);
        std::mt19937 random(3);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (int i = 0; i < 20; ++i) {
            const double distance = 3.0 + 24.0 * unit(random);
            const double angle = -145.0 + 110.0 * unit(random);
            scene.AddMonitorPoint(scene.MakePoint(distance, angle, 1.0, 0x00FFFF00, 0x000054DC));
            points.Add(scene.MakePoint(distance, angle, 1.0, 0x00FFFF00, 0x000054DC));
        }
        if (areas) {
            AddClickedAreas(scene);
        }
        for (int batch = 0; batch < 40; ++batch) {
            Deliver();
        }
        background.assign(static_cast<size_t>(width) * height, kPlainFillColour);
        ShadeSector(scene.Geometry(), scene.Settings(), background.data());
        scene.MarkBackgroundRendered();
        frame.resize(background.size());
    }

    void Deliver() { scene.UpdateObjects(&walkers.Next(), now += kFrameIntervalMs); }
    uint32_t PaintTime() const { return now + 10; }
};

// What composing a frame can at best come down to: copying the frame's pixels once.
void Memcpy(benchmark::State& state, int width, int height) {
    const size_t size = static_cast<size_t>(width) * height;
    std::vector<uint32_t> background(size, kPlainFillColour);
    std::vector<uint32_t> frame(size);
    for (auto _ : state) {
        std::memcpy(frame.data(), background.data(), size * sizeof(uint32_t));
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}

// One delivery (not timed) and one composed frame per iteration, after a few frames that bring
// the frame to what a run keeps in it: the first composition after the background was rendered
// copies all of it. Profile with callgrind's --toggle-collect='*ComposeMoving*': what it counts
// in ComposeFrame then is the steady frames only (so it must stay a function of its own).
template <typename Paint>
[[gnu::noinline]] void ComposeMoving(benchmark::State& state, MovingScene& moving, Paint&& paint) {
    for (auto _ : state) {
        state.PauseTiming();
        moving.Deliver();
        state.ResumeTiming();
        paint();
        benchmark::DoNotOptimize(moving.frame.data());
        benchmark::ClobberMemory();
    }
}

template <typename Paint>
void WarmUp(MovingScene& moving, Paint&& paint) {
    for (int frame = 0; frame < 3; ++frame) {
        moving.Deliver();
        paint();
    }
}

void Compose(benchmark::State& state, int width, int height) {
    MovingScene moving(width, height, false);
    auto paint = [&] {
        moving.scene.ComposeFrame(moving.frame.data(), moving.background.data(), moving.PaintTime(),
                                  nullptr);
    };
    WarmUp(moving, paint);
    ComposeMoving(state, moving, paint);
}

// The same with 8 monitoring areas filled through the portable fill.
void ComposeAreas(benchmark::State& state, int width, int height) {
    MovingScene moving(width, height, true);
    PixelAreaPainter painter(moving.frame.data(), width, height);
    auto paint = [&] {
        moving.scene.ComposeFrame(moving.frame.data(), moving.background.data(), moving.PaintTime(),
                                  &painter);
    };
    WarmUp(moving, paint);
    ComposeMoving(state, moving, paint);
}

// The utility library's share of Compose, on its own: every track's line drawn into the
// scratch by DrawGradualMultiLine and cleared again within its reach, nothing blended, no
// marker, no point. The view cannot compose a frame in less time than this takes.
void ComposeLibraryLines(benchmark::State& state, int width, int height) {
    MovingScene moving(width, height, false);
    const SectorGeometry& geometry = moving.scene.Geometry();
    const SectorViewSettings& settings = moving.scene.Settings();
    const double lineWidth = geometry.markerRadius * settings.locusRadiusScale;
    std::vector<uint8_t> locus(moving.frame.size(), 0);
    CPtrListCtrl polyline;
    std::vector<ColumnSpan> rows;
    for (auto _ : state) {
        state.PauseTiming();
        moving.Deliver();
        const std::vector<SectorTrack> tracks = moving.scene.CopyTracks();
        state.ResumeTiming();
        for (const SectorTrack& track : tracks) {
            BuildTrackPolyline(geometry, track, polyline);
            const ZRect box = TrackLineRows(polyline, lineWidth, width, height, rows);
            const uint32_t fade =
                TrackFade(moving.PaintTime(), track.points.front().time, settings.displayTimeMs);
            DrawGradualMultiLine(width, height, &polyline, lineWidth, 0.0, fade / 255.0, 0.0,
                                 locus.data());
            for (int y = box.top; y < box.bottom; ++y) {
                const ColumnSpan& row = rows[static_cast<size_t>(y - box.top)];
                if (row.from < row.to) {
                    std::memset(locus.data() + static_cast<size_t>(y) * width + row.from, 0,
                                static_cast<size_t>(row.to - row.from));
                }
            }
        }
        benchmark::DoNotOptimize(locus.data());
        benchmark::ClobberMemory();
    }
}

void ComposeReference(benchmark::State& state, int width, int height) {
    MovingScene moving(width, height, false);
    for (auto _ : state) {
        state.PauseTiming();
        moving.Deliver();
        const std::vector<SectorTrack> tracks = moving.scene.CopyTracks();
        state.ResumeTiming();
        reference::Compose(moving.scene.Geometry(), moving.scene.Settings(),
                           moving.scene.SectorMask(), tracks, moving.points,
                           moving.background.data(), moving.frame.data(), moving.PaintTime());
        benchmark::DoNotOptimize(moving.frame.data());
    }
}

SectorViewConfig UpdateConfig() {
    SectorViewConfig config = BenchConfig();
    config.smoothCount = 255;
    return config;
}

// Times update (the view's scene or the reference tracker) on a stream of batches from
// walkers; the first 40 batches fill 100 tracks with 40 points each. The batches are made in
// advance (and reused in turn) so that only the update is timed.
template <typename Updater>
void TimeBatches(benchmark::State& state, Updater& update) {
    constexpr size_t kPrepared = 400;
    Walkers walkers(9);
    std::vector<std::vector<SectorObject>> batches(kPrepared);
    std::vector<CPtrListCtrl> lists(kPrepared);
    for (size_t i = 0; i < kPrepared; ++i) {
        const CPtrListCtrl& next = walkers.Next();
        for (int k = 0; k < next.GetCount(); ++k) {
            batches[i].push_back(*static_cast<const SectorObject*>(next.GetAt(k)));
        }
        for (SectorObject& object : batches[i]) {
            lists[i].AddData(&object, -1);
        }
    }
    uint32_t now = 0;
    size_t next = 0;
    for (int batch = 0; batch < 40; ++batch) {
        update.UpdateObjects(&lists[next++], now += kFrameIntervalMs);
    }
    for (auto _ : state) {
        update.UpdateObjects(&lists[next], now += kFrameIntervalMs);
        next = (next + 1) % kPrepared;
    }
}

void UpdateObjects(benchmark::State& state) {
    SectorScene scene;
    scene.ApplyConfig(UpdateConfig());
    scene.Relayout(1920, 1080);
    TimeBatches(state, scene);
}

void UpdateObjectsReference(benchmark::State& state) {
    SectorScene scene;
    scene.ApplyConfig(UpdateConfig());
    scene.Relayout(1920, 1080);
    reference::Tracker tracker(scene.Geometry(), scene.Settings());
    // Masks of the view's size without any area, as the view has them.
    const std::vector<uint32_t> noAreas =
        reference::AreaMask(scene.AlgorithmAreas(), 1920, 1080, false);
    tracker.SetAreas(&scene.AlgorithmAreas(), &noAreas, &scene.MonitorAreas(), &noAreas);
    TimeBatches(state, tracker);
}

void RegisterAll() {
    using Step = void (*)(benchmark::State&, int, int);
    const struct {
        const char* name;
        Step step;
    } steps[] = {{"SectorMaskShading", SectorMaskShading},
                 {"SectorMaskShadingReference", SectorMaskShadingReference},
                 {"AreaMasks", AreaMasks},
                 {"AreaMasksReference", AreaMasksReference},
                 {"Memcpy", Memcpy},
                 {"Compose", Compose},
                 {"ComposeAreas", ComposeAreas},
                 {"ComposeLibraryLines", ComposeLibraryLines},
                 {"ComposeReference", ComposeReference}};
    const struct {
        int width;
        int height;
    } sizes[] = {{1920, 1080}, {3840, 2160}};
    for (const auto& step : steps) {
        for (const auto& size : sizes) {
            const std::string name = std::string(step.name) + "/" + std::to_string(size.width) +
                                     "x" + std::to_string(size.height);
            benchmark::RegisterBenchmark(name.c_str(), step.step, size.width, size.height)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("UpdateObjects/100", UpdateObjects)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("UpdateObjectsReference/100", UpdateObjectsReference)
        ->Unit(benchmark::kMicrosecond);
}

// The console table, followed by each compose's time as a multiple of copying a frame of its
// size, both taken from the same run: the medians when the run repeats, else the single times.
// Real time is what a frame costs; CPU time leaves out the time other programs on the machine
// took from this one, which a shared machine makes the steadier of the two.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // In colour only on a terminal, as the library's own reporter does by default.
    RatioReporter() : ConsoleReporter(isatty(fileno(stdout)) != 0 ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (single || median)) {
                m_times.push_back(
                    Times{run.run_name.str(), run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        bool header = false;
        for (const Times& compose : m_times) {
            const size_t slash = compose.name.find('/');
            if (compose.name.rfind("Compose", 0) != 0 || slash == std::string::npos) {
                continue;
            }
            const std::string floor = "Memcpy" + compose.name.substr(slash);
            for (const Times& copy : m_times) {
                if (copy.name != floor || !(copy.real > 0.0) || !(copy.cpu > 0.0)) {
                    continue;
                }
                if (!header) {
                    GetOutputStream() << "\nTime as a multiple of copying the frame once:\n";
                    header = true;
                }
                char line[200];
                std::snprintf(line, sizeof(line), "%-34s %7.2f x real, %7.2f x CPU of %s\n",
                              compose.name.c_str(), compose.real / copy.real,
                              compose.cpu / copy.cpu, floor.c_str());
                GetOutputStream() << line;
            }
        }
    }

private:
    struct Times {
        std::string name;
        double real;
        double cpu;
    };
    std::vector<Times> m_times;
};

}  // namespace
}  // namespace zuvo::sector

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    zuvo::sector::RegisterAll();
    zuvo::sector::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
