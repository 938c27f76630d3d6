// Reading raw-data recordings: an intact file, and files whose damage is crafted to make the
// resynchronisation expensive. Bytes per second should be alike for all of them, whatever the
// file's size.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "RawDataFormat.h"
#include "RawFileReader.h"
#include "tests/dataprocess/CraftedDamage.h"

namespace {

using zuvo::radar::RadarFrame;
using zuvo::radar::RawFileReader;

std::vector<uint8_t> Header() {
    zuvo::radar::RawFileHeader header;
    header.framePeriodMs = 50;
    header.gateCount = 32;
    header.rangeResolution = 0.25;
    return zuvo::radar::EncodeFileHeader(header);
}

std::vector<uint8_t> IntactFile(size_t size) {
    std::vector<uint8_t> bytes = Header();
    RadarFrame frame;
    frame.detections.resize(8);
    for (uint32_t index = 0; bytes.size() < size; ++index) {
        frame.index = index;
        frame.timeMs = index * 50;
        zuvo::radar::EncodeFrame(frame, bytes);
    }
    return bytes;
}

std::vector<uint8_t> DamagedFile(size_t size, bool countsAgree) {
    std::vector<uint8_t> bytes = Header();
    const std::vector<uint8_t> damage = zuvo::test::CraftedFrameDamage(size, countsAgree);
    bytes.insert(bytes.end(), damage.begin(), damage.end());
    return bytes;
}

void ReadWhole(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    for (auto _ : state) {
        RawFileReader reader;
        std::string error;
        reader.OpenMemory(bytes.data(), bytes.size(), error);
        RadarFrame frame;
        int frames = 0;
        while (reader.Next(frame)) {
            ++frames;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}

void BM_ReadIntact(benchmark::State& state) {
    ReadWhole(state, IntactFile(static_cast<size_t>(state.range(0)) << 20));
}

void BM_ReadSyncWordsOnly(benchmark::State& state) {
    ReadWhole(state, DamagedFile(static_cast<size_t>(state.range(0)) << 20, false));
}

void BM_ReadCraftedFrames(benchmark::State& state) {
    ReadWhole(state, DamagedFile(static_cast<size_t>(state.range(0)) << 20, true));
}

}  // namespace

BENCHMARK(BM_ReadIntact)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSyncWordsOnly)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCraftedFrames)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
