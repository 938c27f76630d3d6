// Reading recordings outside the program: zuvo-replay's frames, damage counts and objects
// against what was written and what the library's own playback delivers, the Python reader
// against the same folders, and the command line's exit status.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "EmulatedSensor.h"
#include "PlaybackRuns.h"
#include "RadarConfigFile.h"
#include "RawDataFormat.h"
#include "RawDataRecorder.h"
#include "ReplayCore.h"
#include "TestSupport.h"
#include "tests/support/WholeFile.h"

namespace zuvo::test {
namespace {

namespace fs = std::filesystem;

// A recording of the emulator's people made at once: frames of seconds, written as the live
// recorder writes them, in files of at most maxFileBytes.
struct MadeRecording {
    fs::path folder;
    std::vector<radar::RadarFrame> frames;
};

MadeRecording MakeRecording(const TempFolder& parent, int seconds, uint64_t maxFileBytes) {
    tagRADARPARAMETER record;
    radar::SetDefaultParameters(record);
    record.SourceType = RADAR_SOURCE_EMULATOR;
    tagEMULATORSETTINGS emulator;
    radar::SetDefaultEmulatorSettings(emulator);
    radar::EmulatedSensor sensor(record, emulator);
    radar::RawDataRecorder recorder(maxFileBytes, std::nullopt);
    std::string error;
    EXPECT_TRUE(recorder.Begin(parent.Wide(), record, error)) << error;
    MadeRecording made;
    const int frames = seconds * 1000 / record.FramePeriodMs;
    for (int i = 0; i < frames; ++i) {
        made.frames.push_back(sensor.NextFrame());
        EXPECT_TRUE(recorder.Write(made.frames.back(), static_cast<uint32_t>(i * 50), error))
            << error;
    }
    recorder.End();
    for (const auto& entry : fs::directory_iterator(parent.Path())) {
        made.folder = entry.path();
    }
    return made;
}

replay::Recording Open(const fs::path& folder) {
    replay::Recording recording;
    std::string error;
    EXPECT_TRUE(replay::OpenRecording(WidePath(folder), recording, error)) << error;
    return recording;
}

std::vector<uint32_t> FrameIndices(const fs::path& folder, replay::ReadCounts& counts) {
    std::vector<uint32_t> indices;
    counts = replay::ReadFrames(
        Open(folder), [&](const radar::RadarFrame& frame) { indices.push_back(frame.index); }, {});
    return indices;
}

// Every row without its time column (the program's log has a clock time there instead).
std::vector<std::string> ObjectRows(const fs::path& folder, const replay::ObjectOptions& options,
                                    replay::ReadCounts& counts) {
    std::vector<std::string> rows;
    std::string error;
    EXPECT_TRUE(replay::ReplayObjects(
        Open(folder), options,
        [&](const std::string& row) { rows.push_back(row.substr(row.find(',') + 1)); }, {}, counts,
        error))
        << error;
    return rows;
}

// What a command prints on standard output, and its exit status.
struct Ran {
    std::string out;
    int status = -1;
};

// withErrors: standard error is read too.
Ran RunCommand(const std::string& command, bool withErrors = false) {
    Ran ran;
    FILE* pipe = popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    if (pipe == nullptr) {
        return ran;
    }
    std::array<char, 4096> buffer;
    size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        ran.out.append(buffer.data(), got);
    }
    const int status = pclose(pipe);
    ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ran;
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string PythonSummary(const fs::path& folder) {
    const Ran ran =
        RunCommand("python3 " + Quoted(ZUVO_READ_RECORDING_SCRIPT) + " " + Quoted(folder));
    EXPECT_EQ(ran.status, 0);
    return ran.out.substr(0, ran.out.find('\n'));
}

std::string Summary(int64_t frames, int64_t damaged, const std::vector<radar::RadarFrame>& all,
                    const std::set<size_t>& left) {
    size_t detections = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        detections += left.count(i) == 0 ? all[i].detections.size() : 0;
    }
    return "frames " + std::to_string(frames) + " damaged " + std::to_string(damaged) +
           " detections " + std::to_string(detections) + " sensor_objects 0";
}

// The offsets of every frame of a raw-data file.
std::vector<size_t> FrameStarts(const std::string& bytes) {
    std::vector<size_t> starts;
    for (size_t at = radar::kRawFileHeaderSize; at < bytes.size();) {
        radar::RadarFrame frame;
        size_t size = 0;
        if (radar::DecodeFrame(reinterpret_cast<const uint8_t*>(bytes.data()) + at,
                               bytes.size() - at, frame, size) != radar::FrameDecode::Ok) {
            break;
        }
        starts.push_back(at);
        at += size;
    }
    return starts;
}

TEST(Replay, ATwentySecondRecordingDecodesAsThePlaybackDeliversIt) {
    TempFolder parent(u8"replay20");
    const MadeRecording made = MakeRecording(parent, 20, 24 * 1024);
    ASSERT_EQ(made.frames.size(), 400u);
    replay::ReadCounts counts;
    const std::vector<uint32_t> indices = FrameIndices(made.folder, counts);
    EXPECT_EQ(counts.frames, 400);
    EXPECT_EQ(counts.damagedFrames, 0);
    EXPECT_GE(counts.filesRead, 3) << "the recording spans several files";
    EXPECT_EQ(indices.front(), made.frames.front().index);
    EXPECT_EQ(indices.back(), made.frames.back().index);
    const std::string info = replay::DescribeRecording(Open(made.folder), counts);
    EXPECT_NE(info.find("frames: 400\n"), std::string::npos) << info;
    EXPECT_NE(info.find("duration: 20.000 s\n"), std::string::npos) << info;
    EXPECT_NE(info.find("ProcessSite = 0\n"), std::string::npos) << info;
    EXPECT_EQ(PythonSummary(made.folder), Summary(400, 0, made.frames, {}));

    // The same entries as the library's playback, in the same order, with the same values.
    const std::vector<std::string> rows = ObjectRows(made.folder, {}, counts);
    const std::vector<Delivery> played = PlayBack(made.folder, RADAR_PROCESS_SITE_HOST);
    std::vector<std::string> expected;
    for (const Delivery& delivery : played) {
        for (const RadarObject& entry : delivery.objects) {
            const std::string row =
                replay::FormatObjectRow(0, static_cast<uint32_t>(delivery.value), entry);
            expected.push_back(row.substr(row.find(',') + 1));
        }
    }
    EXPECT_GT(expected.size(), 300u) << "people were tracked";
    EXPECT_EQ(rows, expected);
}

TEST(Replay, ACutRecordingGivesEveryEarlierFrameAndOneDamaged) {
    TempFolder parent(u8"replaycut");
    const MadeRecording made = MakeRecording(parent, 5, 1 << 20);
    replay::ReadCounts counts;
    const std::vector<std::string> whole = ObjectRows(made.folder, {}, counts);
    const fs::path raw = made.folder / "RawData_0001.zrd";
    std::string bytes = ReadWholeFile(raw);
    const std::vector<size_t> starts = FrameStarts(bytes);
    ASSERT_EQ(starts.size(), 100u);
    bytes.resize(starts[70] + 30);  // inside frame 70
    ASSERT_TRUE(WriteWholeFile(raw, bytes));
    const std::vector<uint32_t> indices = FrameIndices(made.folder, counts);
    EXPECT_EQ(counts.frames, 70);
    EXPECT_EQ(counts.damagedFrames, 1);
    ASSERT_EQ(indices.size(), 70u);
    EXPECT_EQ(indices.back(), made.frames[69].index);
    std::set<size_t> gone;
    for (size_t i = 70; i < 100; ++i) {
        gone.insert(i);
    }
    EXPECT_EQ(PythonSummary(made.folder), Summary(70, 1, made.frames, gone));
    // The objects up to the cut are the uncut recording's.
    const std::vector<std::string> cut = ObjectRows(made.folder, {}, counts);
    ASSERT_LE(cut.size(), whole.size());
    EXPECT_TRUE(std::equal(cut.begin(), cut.end(), whole.begin()));
}

TEST(Replay, AFlippedByteSkipsExactlyThatFrame) {
    TempFolder parent(u8"replayflip");
    const MadeRecording made = MakeRecording(parent, 10, 16 * 1024);
    const fs::path raw = made.folder / "RawData_0002.zrd";
    std::string bytes = ReadWholeFile(raw);
    const std::vector<size_t> starts = FrameStarts(bytes);
    ASSERT_GT(starts.size(), 20u);
    radar::RadarFrame victim;
    size_t size = 0;
    radar::DecodeFrame(reinterpret_cast<const uint8_t*>(bytes.data()) + starts[12],
                       bytes.size() - starts[12], victim, size);
    bytes[starts[12] + 26] ^= 0x10;  // inside its data
    ASSERT_TRUE(WriteWholeFile(raw, bytes));
    replay::ReadCounts counts;
    const std::vector<uint32_t> indices = FrameIndices(made.folder, counts);
    EXPECT_EQ(counts.frames, 199);
    EXPECT_EQ(counts.damagedFrames, 1);
    std::vector<uint32_t> expected;
    std::set<size_t> left;
    for (size_t i = 0; i < made.frames.size(); ++i) {
        if (made.frames[i].index != victim.index) {
            expected.push_back(made.frames[i].index);
        } else {
            left.insert(i);
        }
    }
    EXPECT_EQ(indices, expected);
    EXPECT_EQ(PythonSummary(made.folder), Summary(199, 1, made.frames, left));
}

TEST(Replay, OtherTrackingSettingsTrackAgain) {
    TempFolder parent(u8"replayconfig");
    const MadeRecording made = MakeRecording(parent, 10, 1 << 20);
    replay::ReadCounts counts;
    const std::vector<std::string> mtt = ObjectRows(made.folder, {}, counts);
    // Moving-object detection instead of the tracker.
    tagRADARPARAMETER record;
    radar::SetDefaultParameters(record);
    record.HostAlgorithm = RADAR_HOST_ALGORITHM_MOD;
    record.GateCount = 64;  // the recording's own grid wins
    std::string error;
    const std::wstring config = parent.Wide(L"mod.ini");
    ASSERT_TRUE(radar::SaveParameters(config, record, error)) << error;
    replay::ObjectOptions options;
    options.config = config;
    const std::vector<std::string> mod = ObjectRows(made.folder, options, counts);
    EXPECT_FALSE(mod.empty());
    EXPECT_NE(mod, mtt);
    // The sensor's own tracking: a recording made while this computer tracked holds none.
    options = {};
    options.site = RADAR_PROCESS_SITE_SENSOR;
    EXPECT_TRUE(ObjectRows(made.folder, options, counts).empty());
    // A parameter file that cannot be read is refused.
    options = {};
    options.config = parent.Wide(L"missing.ini");
    std::string refused;
    EXPECT_FALSE(replay::ReplayObjects(
        Open(made.folder), options, [](const std::string&) {}, {}, counts, refused));
    EXPECT_NE(refused.find("cannot be read"), std::string::npos);
}

TEST(ReplayResultLog, EntryLinesBecomeRowsAndOthersAreNot) {
    struct Row {
        const char* line;
        const char* row;  // null: no entry
    };
    for (const Row& row : {
             Row{"[09:05:01.042], 3, 2.17, -26.60, -0.33", "09:05:01.042,3,2.17,-26.60,-0.33\r\n"},
             Row{"[23:59:59.999], -1, -1.00, 0.00, 0.00", "23:59:59.999,-1,-1.00,0.00,0.00\r\n"},
             Row{"[00:00:00.000], 4294967296, nan, 1.00, 2.00",
                 "00:00:00.000,4294967296,nan,1.00,2.00\r\n"},
             Row{"[09:05:01.042], 3, 2.17, -26.60", nullptr},
             Row{"[09:05:01.042],03, 2.17, -26.60, -0.33", nullptr},
             Row{"[09:05:01.042], 3, 2.17, -26.60, -0.33, 1", nullptr},
             Row{"[09:05:01.042], 3.5, 2.17, -26.60, -0.33", nullptr},
             Row{"[09:05:01.042], 3, 2.17, , -0.33", nullptr},
             Row{"[09:05:01.042], 3, 2.17,  -26.60, -0.33", nullptr},
             Row{"[9:05:01.042], 3, 2.17, -26.60, -0.33", nullptr},
             Row{"[09:05:01:042], 3, 2.17, -26.60, -0.33", nullptr},
             Row{"[09:05:01.042], 3, 2.17, -26.60, -0.33 extra", nullptr},
             Row{"09:05:01.042, 3, 2.17, -26.60, -0.33", nullptr},
             Row{"", nullptr},
         }) {
        std::string made;
        EXPECT_EQ(replay::ResultLineToCsv(row.line, made), row.row != nullptr) << row.line;
        if (row.row != nullptr) {
            EXPECT_EQ(made, row.row);
        }
    }
}

TEST(ReplayCommandLine, AnswersWithItsExitStatus) {
    const std::string program = Quoted(ZUVO_REPLAY_PROGRAM);
    Ran ran = RunCommand(program + " --help");
    EXPECT_EQ(ran.status, 0);
    EXPECT_NE(ran.out.find("zuvo-replay objects FOLDER"), std::string::npos);
    EXPECT_EQ(RunCommand(program).status, 2);
    EXPECT_EQ(RunCommand(program + " frames x").status, 2);
    EXPECT_EQ(RunCommand(program + " objects").status, 2);

    TempFolder parent(u8"replay 命令");
    const MadeRecording made = MakeRecording(parent, 3, 1 << 20);
    EXPECT_EQ(RunCommand(program + " objects " + Quoted(made.folder) + " --speed 0").status, 2);
    EXPECT_EQ(RunCommand(program + " objects " + Quoted(made.folder) + " --site both").status, 2);
    ran = RunCommand(program + " info " + Quoted(made.folder));
    EXPECT_EQ(ran.status, 0);
    EXPECT_NE(ran.out.find("frames: 60\n"), std::string::npos) << ran.out;
    ran = RunCommand(program + " objects " + Quoted(made.folder) + " --speed 50");
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out.rfind(replay::kObjectsHeader, 0), 0u);
    EXPECT_EQ(RunCommand(program + " info " + Quoted(parent / "missing")).status, 1);
    // On a terminal (script gives it one) a progress bar runs on standard error; in a pipe
    // there is none.
    ran = RunCommand("script -qec \"" + program + " info " + Quoted(made.folder) + "\" /dev/null");
    EXPECT_NE(ran.out.find("] 100 %"), std::string::npos) << ran.out;
    ran = RunCommand(program + " info " + Quoted(made.folder), true);
    EXPECT_NE(ran.out.find("frames: 60\n"), std::string::npos);
    EXPECT_EQ(ran.out.find(" %"), std::string::npos);

    // A file whose header is damaged is named and makes the status 1; the others are read.
    const fs::path copy = parent / "copy";
    fs::copy(made.folder, copy);
    fs::copy_file(made.folder / "RawData_0001.zrd", copy / "RawData_0002.zrd");
    std::string bytes = ReadWholeFile(copy / "RawData_0002.zrd");
    bytes[9] ^= 0x01;
    ASSERT_TRUE(WriteWholeFile(copy / "RawData_0002.zrd", bytes));
    ran = RunCommand(program + " info " + Quoted(copy));
    EXPECT_EQ(ran.status, 1);
    EXPECT_NE(ran.out.find("frames: 60\n"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("not read: RawData_0002.zrd: damaged file header"), std::string::npos)
        << ran.out;
    // Only damaged headers: not a recording that can be read at all.
    fs::remove(copy / "RawData_0001.zrd");
    EXPECT_EQ(RunCommand(program + " objects " + Quoted(copy)).status, 1);

    ASSERT_TRUE(
        WriteWholeFile(parent / "log.txt", "[09:05:01.042], 3, 2.17, -26.60, -0.33\r\ncut off li"));
    ran = RunCommand(program + " log2csv " + Quoted(parent / "log.txt"));
    EXPECT_EQ(ran.status, 0);
    EXPECT_EQ(ran.out,
              std::string(replay::kResultLogHeader) + "09:05:01.042,3,2.17,-26.60,-0.33\r\n");
    EXPECT_EQ(RunCommand(program + " log2csv " + Quoted(parent / "none.txt")).status, 1);
}

}  // namespace
}  // namespace zuvo::test
