// Raw-data files: what is written reads back exactly, and damage costs only the damaged frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <cstring>
#include <set>

#include "Crc32.h"
#include "FileSystem.h"
#include "RadarConfigFile.h"
#include "RawDataFormat.h"
#include "RawDataRecorder.h"
#include "RawFileReader.h"
#include "Random.h"
#include "CraftedDamage.h"
#include "TestSupport.h"
#include "tests/support/WholeFile.h"

namespace zuvo::radar {
namespace {

RadarFrame MakeFrame(uint32_t index, int detections, int objects) {
    RadarFrame frame;
    frame.index = index;
    frame.timeMs = index * 50;
    frame.flags = objects > 0 ? kFrameSensorObjects : 0;
    for (int i = 0; i < detections; ++i) {
        frame.detections.push_back(
            Detection{1.0 + i + index * 0.01, 4.0 + i, -30.0 + i, 0.5 * i, 40.0 - i});
    }
    for (int i = 0; i < objects; ++i) {
        frame.sensorObjects.push_back(
            RadarObject{i == 1 ? -1 : static_cast<int64_t>(index) * 10 + i, i == 1 ? -1.0 : 12.5,
                        i == 1 ? -1.0 : 3.125, 0.75, -12.0, 0.0, 0.0});
    }
    return frame;
}

bool SameFrame(const RadarFrame& a, const RadarFrame& b) {
    if (a.index != b.index || a.timeMs != b.timeMs || a.flags != b.flags ||
        a.detections.size() != b.detections.size() ||
        a.sensorObjects.size() != b.sensorObjects.size()) {
        return false;
    }
    for (size_t i = 0; i < a.detections.size(); ++i) {
        if (std::memcmp(&a.detections[i], &b.detections[i], sizeof(Detection)) != 0) {
            return false;
        }
    }
    for (size_t i = 0; i < a.sensorObjects.size(); ++i) {
        const RadarObject& x = a.sensorObjects[i];
        const RadarObject& y = b.sensorObjects[i];
        if (x.Id != y.Id || x.GateDistance != y.GateDistance || x.Distance != y.Distance ||
            x.Velocity != y.Velocity || x.Angle != y.Angle) {
            return false;
        }
    }
    return true;
}

struct Recording {
    std::vector<uint8_t> bytes;
    std::vector<size_t> frameStarts;
    std::vector<RadarFrame> frames;
};

Recording MakeRecording(int frameCount) {
    Recording recording;
    RawFileHeader header;
    header.framePeriodMs = 50;
    header.gateCount = 32;
    header.rangeResolution = 0.25;
    recording.bytes = EncodeFileHeader(header);
    for (int i = 0; i < frameCount; ++i) {
        recording.frames.push_back(MakeFrame(static_cast<uint32_t>(i), i % 5, i % 3 == 0 ? 3 : 0));
        recording.frameStarts.push_back(recording.bytes.size());
        EncodeFrame(recording.frames.back(), recording.bytes);
    }
    return recording;
}

std::vector<RadarFrame> ReadAll(const std::vector<uint8_t>& bytes, RawFileReader& reader) {
    std::string error;
    std::vector<RadarFrame> frames;
    if (!reader.OpenMemory(bytes.data(), bytes.size(), error)) {
        return frames;
    }
    RadarFrame frame;
    while (reader.Next(frame)) {
        frames.push_back(frame);
    }
    return frames;
}

TEST(RawDataFormat, FramesReadBackExactly) {
    const Recording recording = MakeRecording(40);
    RawFileReader reader;
    const std::vector<RadarFrame> frames = ReadAll(recording.bytes, reader);
    ASSERT_EQ(frames.size(), recording.frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(SameFrame(frames[i], recording.frames[i])) << "frame " << i;
    }
    EXPECT_EQ(reader.Header().gateCount, 32u);
    EXPECT_EQ(reader.Header().rangeResolution, 0.25);
    EXPECT_EQ(reader.DamagedStretches(), 0);
    EXPECT_EQ(reader.PerMille(), 1000);
    EXPECT_TRUE(reader.TakeProblems().empty());
}

TEST(RawDataFormat, ExtremeValuesKeepTheirBits) {
    RadarFrame frame = MakeFrame(0xFFFFFFFFu, 1, 1);
    frame.detections[0].distance = -0.0;
    frame.detections[0].angle = std::nan("");
    frame.detections[0].velocity = INFINITY;
    frame.sensorObjects[0].Id = INT64_MIN;
    std::vector<uint8_t> bytes = EncodeFileHeader(RawFileHeader{});
    EncodeFrame(frame, bytes);
    RawFileReader reader;
    const std::vector<RadarFrame> frames = ReadAll(bytes, reader);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(std::signbit(frames[0].detections[0].distance));
    EXPECT_TRUE(std::isnan(frames[0].detections[0].angle));
    EXPECT_EQ(frames[0].sensorObjects[0].Id, INT64_MIN);
    EXPECT_EQ(frames[0].index, 0xFFFFFFFFu);
}

TEST(RawDataFormat, HeadersOfOtherFilesAreRefused) {
    const Recording recording = MakeRecording(1);
    std::string problem;
    RawFileHeader header;
    EXPECT_FALSE(DecodeFileHeader(recording.bytes.data(), 10, header, problem));
    std::vector<uint8_t> wrong = recording.bytes;
    wrong[0] = 'X';
    EXPECT_FALSE(DecodeFileHeader(wrong.data(), wrong.size(), header, problem));
    wrong = recording.bytes;
    wrong[21] ^= 0x40;  // inside the range resolution: the header's check value no longer fits
    EXPECT_FALSE(DecodeFileHeader(wrong.data(), wrong.size(), header, problem));
    EXPECT_EQ(problem, "damaged file header");
    RawFileReader reader;
    EXPECT_FALSE(reader.OpenMemory(wrong.data(), wrong.size(), problem));
}

// Damage of each kind inside frame 14 of 30 (four detections): exactly that frame is lost.
TEST(RawDataFormat, ADamagedFrameCostsOnlyItself) {
    const Recording recording = MakeRecording(30);
    const size_t start = recording.frameStarts[14];
    const size_t end = recording.frameStarts[15];
    ASSERT_EQ(recording.frames[14].detections.size(), 4u);
    const std::vector<std::pair<const char*, size_t>> spots = {
        {"sync", start}, {"length", start + 5}, {"payload", start + 30}, {"check value", end - 1}};
    for (const auto& [what, at] : spots) {
        std::vector<uint8_t> bytes = recording.bytes;
        bytes[at] ^= 0xFF;
        RawFileReader reader;
        const std::vector<RadarFrame> frames = ReadAll(bytes, reader);
        ASSERT_EQ(frames.size(), 29u) << what;
        for (const RadarFrame& frame : frames) {
            EXPECT_NE(frame.index, 14u) << what;
            EXPECT_TRUE(SameFrame(frame, recording.frames[frame.index])) << what;
        }
        EXPECT_EQ(reader.DamagedStretches(), 1) << what;
        EXPECT_EQ(reader.TakeProblems().size(), 1u) << what;
    }
}

TEST(RawDataFormat, ATruncatedFileKeepsItsCompleteFrames) {
    const Recording recording = MakeRecording(12);
    for (size_t cut : {recording.frameStarts[11] + 3, recording.frameStarts[11] + 30,
                       recording.bytes.size() - 1}) {
        std::vector<uint8_t> bytes(recording.bytes.begin(),
                                   recording.bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        RawFileReader reader;
        EXPECT_EQ(ReadAll(bytes, reader).size(), 11u);
        const std::vector<std::string> problems = reader.TakeProblems();
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_NE(problems[0].find("ends inside a frame"), std::string::npos) << problems[0];
    }
}

TEST(RawDataFormat, GarbageBetweenFramesIsSkipped) {
    const Recording recording = MakeRecording(6);
    std::vector<uint8_t> bytes = recording.bytes;
    // Junk that even contains a sync word with a nonsense length.
    const uint8_t junk[] = {1, 2, 'Z', 'F', 'R', 'M', 0xFF, 0xFF, 0xFF, 0x7F, 9, 9, 9};
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(recording.frameStarts[3]),
                 std::begin(junk), std::end(junk));
    RawFileReader reader;
    const std::vector<RadarFrame> frames = ReadAll(bytes, reader);
    ASSERT_EQ(frames.size(), 6u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(SameFrame(frames[i], recording.frames[i]));
    }
}

// Random damage anywhere: reading ends, and every frame read is one that was written.
TEST(RawDataFormat, RandomDamageNeverYieldsAFrameThatWasNotWritten) {
    const Recording recording = MakeRecording(25);
    Random random(77);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = recording.bytes;
        const int hits = 1 + static_cast<int>(random.Uniform() * 20);
        for (int i = 0; i < hits; ++i) {
            const size_t at =
                kRawFileHeaderSize +
                static_cast<size_t>(random.Uniform() * (bytes.size() - kRawFileHeaderSize));
            bytes[at] = static_cast<uint8_t>(random.Next());
        }
        if (random.Chance(0.3)) {
            bytes.resize(
                kRawFileHeaderSize +
                static_cast<size_t>(random.Uniform() * (bytes.size() - kRawFileHeaderSize)));
        }
        RawFileReader reader;
        std::set<uint32_t> seen;
        for (const RadarFrame& frame : ReadAll(bytes, reader)) {
            ASSERT_LT(frame.index, recording.frames.size());
            EXPECT_TRUE(SameFrame(frame, recording.frames[frame.index])) << "round " << round;
            EXPECT_TRUE(seen.insert(frame.index).second) << "frame read twice";
        }
    }
}

// Any stretch's CRC from the prefix index equals the CRC computed over its bytes: stretches
// inside one checkpoint step, across many, at both ends, and of every length up to two steps.
TEST(Crc32Index, AnyStretchHasTheCrcOfItsBytes) {
    Random random(5);
    std::vector<uint8_t> bytes(10 * Crc32Index::kStep + 37);
    for (uint8_t& byte : bytes) {
        byte = static_cast<uint8_t>(random.Next());
    }
    const Crc32Index index(bytes.data(), bytes.size());
    std::vector<std::pair<size_t, size_t>> stretches = {
        {0, 0}, {0, bytes.size()}, {1, 2}, {63, 65}, {64, 128}, {5, bytes.size()}};
    for (size_t length = 0; length <= 2 * Crc32Index::kStep; ++length) {
        stretches.emplace_back(17, 17 + length);
    }
    for (int i = 0; i < 500; ++i) {
        const size_t a = static_cast<size_t>(random.Uniform() * static_cast<double>(bytes.size()));
        const size_t b = static_cast<size_t>(random.Uniform() * static_cast<double>(bytes.size()));
        stretches.emplace_back(std::min(a, b), std::max(a, b));
    }
    for (const auto& [begin, end] : stretches) {
        EXPECT_EQ(index.Range(begin, end), Crc32(bytes.data() + begin, end - begin))
            << begin << ".." << end;
    }
    EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCBF43926u);
    EXPECT_EQ(Crc32Combine(Crc32(bytes.data(), 100), Crc32(bytes.data() + 100, 200), 200),
              Crc32(bytes.data(), 300));
}

// A file made of sync words that claim the largest frames costs time in proportion to its
// size, and the frame after it is still found.
TEST(RawDataFormat, CraftedDamageCostsTimeInProportionToTheFile) {
    for (const bool countsAgree : {false, true}) {
        SCOPED_TRACE(countsAgree ? "counts agree" : "sync words only");
        const Recording recording = MakeRecording(3);
        std::vector<uint8_t> bytes(
            recording.bytes.begin(),
            recording.bytes.begin() + static_cast<std::ptrdiff_t>(recording.frameStarts[2]));
        const std::vector<uint8_t> damage = zuvo::test::CraftedFrameDamage(4 << 20, countsAgree);
        bytes.insert(bytes.end(), damage.begin(), damage.end());
        bytes.insert(
            bytes.end(),
            recording.bytes.begin() + static_cast<std::ptrdiff_t>(recording.frameStarts[2]),
            recording.bytes.end());

        RawFileReader reader;
        // Processor time, not wall time: the machine may be busy with other work.
        const std::clock_t started = std::clock();
        const std::vector<RadarFrame> frames = ReadAll(bytes, reader);
        const double seconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
        // Before, a single MiB of this took 13 s; in proportion, 4 MiB take well under a second
        // even with the sanitizers.
        EXPECT_LT(seconds, 2.0);
        ASSERT_EQ(frames.size(), 3u);
        EXPECT_TRUE(SameFrame(frames[2], recording.frames[2])) << "the frame after the damage";
        EXPECT_EQ(reader.DamagedStretches(), 1);
        const std::vector<std::string> problems = reader.TakeProblems();
        ASSERT_EQ(problems.size(), 1u) << "one line for one damaged stretch";
        EXPECT_NE(problems[0].find("(" + std::to_string(damage.size()) + " bytes)"),
                  std::string::npos)
            << problems[0];
    }
}

TEST(RawDataFormat, AStopInterruptsTheScanOfDamagedData) {
    const Recording recording = MakeRecording(2);
    std::vector<uint8_t> bytes = recording.bytes;
    const std::vector<uint8_t> damage = zuvo::test::CraftedFrameDamage(16 << 20, true);
    bytes.insert(bytes.end(), damage.begin(), damage.end());
    RawFileReader reader;
    std::string error;
    ASSERT_TRUE(reader.OpenMemory(bytes.data(), bytes.size(), error)) << error;
    RadarFrame frame;
    ASSERT_TRUE(reader.Next(frame));
    ASSERT_TRUE(reader.Next(frame));
    int asked = 0;
    EXPECT_FALSE(reader.Next(frame, [&] { return ++asked == 2; }));
    EXPECT_TRUE(reader.Interrupted());
    EXPECT_EQ(asked, 2);
    EXPECT_LT(reader.PerMille(), 100) << "stopped near the start of the damage";
    // Asked again without a stop, it reads on to the end.
    EXPECT_FALSE(reader.Next(frame));
    EXPECT_FALSE(reader.Interrupted());
    EXPECT_EQ(reader.PerMille(), 1000);
    const std::vector<std::string> problems = reader.TakeProblems();
    ASSERT_EQ(problems.size(), 2u) << "one damaged stretch, across the stop, and the cut end";
    EXPECT_NE(problems[0].find("(" + std::to_string(damage.size() - 24) + " bytes)"),
              std::string::npos)
        << problems[0];
    EXPECT_NE(problems[1].find("ends inside a frame"), std::string::npos) << problems[1];
}

// Reading a large file from the disk can be stopped too, piece by piece: a stop during a
// playback never waits for the whole file to be read.
TEST(RawDataFormat, AStopEndsTheReadingOfALargeFile) {
    const Recording recording = MakeRecording(2);
    std::vector<uint8_t> bytes = recording.bytes;
    bytes.resize(bytes.size() + 8 * RawFileReader::kReadChunkBytes + 5, 0);
    test::TempFolder folder(u8"large_raw");
    const std::filesystem::path path = folder / "RawData_0001.zrd";
    ASSERT_TRUE(test::WriteWholeFile(path, std::string(bytes.begin(), bytes.end())));
    RawFileReader reader;
    std::string error;
    int asked = 0;
    EXPECT_FALSE(reader.Open(test::WidePath(path), error, [&] { return ++asked == 3; }));
    EXPECT_TRUE(reader.Interrupted());
    EXPECT_EQ(asked, 3) << "asked after every piece, and no more once it said stop";
    RadarFrame frame;
    EXPECT_FALSE(reader.Next(frame)) << "nothing of the stopped file is read";

    asked = 0;
    ASSERT_TRUE(reader.Open(test::WidePath(path), error, [&] { return ++asked > 100; })) << error;
    EXPECT_FALSE(reader.Interrupted());
    EXPECT_EQ(asked, 8) << "one question per whole piece";
    EXPECT_TRUE(reader.Next(frame));
    EXPECT_TRUE(reader.Next(frame));
    EXPECT_FALSE(reader.Next(frame));
    EXPECT_EQ(reader.PerMille(), 1000) << "the whole file was read";
    EXPECT_FALSE(reader.Open(folder.Wide(L"missing.zrd"), error));
    EXPECT_EQ(error, "cannot be read");
    EXPECT_FALSE(reader.Interrupted());
}

TEST(RawDataFormat, FramesBeyondTheFormatsLimitsAreCut) {
    RadarFrame frame = MakeFrame(1, 0, 0);
    frame.detections.assign(kRawMaxDetections + 5, Detection{1, 4, 0, 0, 30});
    frame.sensorObjects.assign(kRawMaxSensorObjects + 1, RadarObject{1, 4, 1, 0, 0, 0, 0});
    std::vector<uint8_t> bytes = EncodeFileHeader(RawFileHeader{});
    EncodeFrame(frame, bytes);
    RawFileReader reader;
    const std::vector<RadarFrame> frames = ReadAll(bytes, reader);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].detections.size(), static_cast<size_t>(kRawMaxDetections));
    EXPECT_EQ(frames[0].sensorObjects.size(), static_cast<size_t>(kRawMaxSensorObjects));
}

// The recorder's files: the record of the run beside the frames, a new file when one is full,
// and everything readable while the run still records (flushed at least once a second).
TEST(RawDataRecorder, WritesReadableFilesWhileRecording) {
    test::TempFolder parent(u8"recorder");
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    RawDataRecorder recorder(2000);
    std::string error;
    ASSERT_TRUE(recorder.Begin(parent.Wide(), record, error)) << error;
    for (uint32_t i = 0; i < 40; ++i) {
        ASSERT_TRUE(recorder.Write(MakeFrame(i, 2, 0), i * 50, error)) << error;
    }
    recorder.FlushIfDue(40 * 50 + 1000);
    const std::vector<std::wstring> files =
        fs::ListFiles(recorder.Folder(), kRawFilePrefix, kRawFileSuffix);
    ASSERT_GE(files.size(), 2u);
    uint32_t next = 0;
    for (const std::wstring& name : files) {
        RawFileReader reader;
        ASSERT_TRUE(reader.Open(fs::JoinPath(recorder.Folder(), name), error)) << error;
        RadarFrame frame;
        while (reader.Next(frame)) {
            EXPECT_EQ(frame.index, next++);
        }
    }
    EXPECT_EQ(next, 40u) << "every frame on the disk before the recording ends";
    tagRADARPARAMETER saved;
    std::vector<std::string> problems;
    ASSERT_TRUE(
        LoadParameters(fs::JoinPath(recorder.Folder(), kRecordingConfigName), saved, problems));
    EXPECT_EQ(std::memcmp(&saved, &record, sizeof(record)), 0);
    recorder.End();
    EXPECT_FALSE(recorder.Write(MakeFrame(40, 1, 0), 3000, error)) << "ended";
}

// A disk that fills up while recording, at every point of a recording that spans several
// files: the recording ends at the first failed write, once, and what is on the disk is an
// intact recording of every frame before it. No half frame stays behind to be reported as
// damage, and no file without its header.
TEST(RawDataRecorder, AFullDiskEndsTheRecordingWithEveryCompleteFrameReadable) {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    constexpr uint32_t kFrames = 14;
    constexpr uint64_t kMaxFileBytes = 700;  // a new file every few frames
    uint64_t largestPiece = EncodeFileHeader(RawFileHeader{}).size();
    for (uint32_t i = 0; i < kFrames; ++i) {
        std::vector<uint8_t> bytes;
        EncodeFrame(MakeFrame(i, 1 + i % 4, 0), bytes);
        largestPiece = std::max<uint64_t>(largestPiece, bytes.size());
    }
    for (uint64_t budget = 0; budget < 2400; budget += 23) {
        SCOPED_TRACE("budget " + std::to_string(budget));
        test::TempFolder parent(u8"full_disk");
        RawDataRecorder recorder(kMaxFileBytes, budget);
        std::string error;
        if (!recorder.Begin(parent.Wide(), record, error)) {
            EXPECT_LT(budget, kRawFileHeaderSize) << "only the first file's header can fail";
            continue;
        }
        int failures = 0;
        for (uint32_t i = 0; i < kFrames; ++i) {
            error.clear();
            if (!recorder.Write(MakeFrame(i, 1 + i % 4, 0), i * 50, error)) {
                ++failures;
                EXPECT_EQ(error.empty(), failures > 1) << "told once: " << error;
                EXPECT_FALSE(recorder.Active());
            }
        }
        recorder.End();

        uint64_t onDisk = 0;
        uint32_t next = 0;
        for (const std::wstring& name :
             fs::ListFiles(recorder.Folder(), kRawFilePrefix, kRawFileSuffix)) {
            const std::wstring path = fs::JoinPath(recorder.Folder(), name);
            onDisk += test::ReadWholeFile(path).size();
            RawFileReader reader;
            ASSERT_TRUE(reader.Open(path, error)) << "every file has its header: " << error;
            RadarFrame frame;
            while (reader.Next(frame)) {
                EXPECT_EQ(frame.index, next++);
            }
            const std::vector<std::string> problems = reader.TakeProblems();
            EXPECT_TRUE(problems.empty()) << problems.front();
        }
        EXPECT_EQ(next, recorder.FramesWritten()) << "every frame counted is on the disk";
        EXPECT_LE(onDisk, budget);
        if (next < kFrames) {
            EXPECT_EQ(failures, static_cast<int>(kFrames - next)) << "each later write refused";
            EXPECT_LT(budget - onDisk, 2 * largestPiece) << "the disk was used until it was full";
        } else {
            EXPECT_EQ(failures, 0);
        }
    }
}

}  // namespace
}  // namespace zuvo::radar
