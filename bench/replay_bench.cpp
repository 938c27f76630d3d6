// zuvo-replay's objects over a ten-minute recording of the emulator's people: how many times
// faster than the recording's own duration the program's processing runs through it, rows of
// CSV included.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "EmulatedSensor.h"
#include "RadarConfigFile.h"
#include "RawDataRecorder.h"
#include "ReplayCore.h"
#include "text/Unicode.h"

namespace {

constexpr int kRecordedSeconds = 600;

// The recording, made once in a folder of its own and removed at the end.
class TenMinutes {
public:
    TenMinutes() {
        std::error_code ignored;
        m_parent = std::filesystem::temp_directory_path() / "zuvo_replay_bench";
        std::filesystem::remove_all(m_parent, ignored);
        std::filesystem::create_directories(m_parent, ignored);
        tagRADARPARAMETER record;
        zuvo::radar::SetDefaultParameters(record);
        record.SourceType = RADAR_SOURCE_EMULATOR;
        tagEMULATORSETTINGS emulator;
        zuvo::radar::SetDefaultEmulatorSettings(emulator);
        emulator.EmulatorPeople = 5;
        zuvo::radar::EmulatedSensor sensor(record, emulator);
        zuvo::radar::RawDataRecorder recorder(zuvo::radar::RawDataRecorder::kDefaultMaxFileBytes,
                                              std::nullopt);
        std::string error;
        recorder.Begin(zuvo::text::Utf8ToWide(m_parent.string()), record, error);
        const int frames = kRecordedSeconds * 1000 / record.FramePeriodMs;
        for (int i = 0; i < frames; ++i) {
            recorder.Write(sensor.NextFrame(), static_cast<uint32_t>(i * record.FramePeriodMs),
                           error);
        }
        recorder.End();
        m_folder = recorder.Folder();
    }
    ~TenMinutes() {
        std::error_code ignored;
        std::filesystem::remove_all(m_parent, ignored);
    }
    const std::wstring& Folder() const { return m_folder; }

private:
    std::filesystem::path m_parent;
    std::wstring m_folder;
};

void ReplayObjects(benchmark::State& state) {
    static const TenMinutes recordingRun;
    zuvo::replay::Recording recording;
    std::string error;
    if (!zuvo::replay::OpenRecording(recordingRun.Folder(), recording, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int64_t rows = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        zuvo::replay::ReadCounts counts;
        zuvo::replay::ReplayObjects(
            recording, {},
            [&](const std::string& row) {
                ++rows;
                bytes += row.size();
            },
            {}, counts, error);
        benchmark::DoNotOptimize(counts.frames);
    }
    // Recorded seconds per second of processing: the recording's duration over the time taken.
    state.counters["recording_over_time"] = benchmark::Counter(
        static_cast<double>(kRecordedSeconds) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(ReplayObjects)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
