// A recording folder as playback reads it: "FILE_Radar_Config.ini" and one raw-data file
// "RawData_0000.zrd" holding the input, checked as playback checks a folder before it starts,
// then read frame by frame with the reader playback uses, and played through the processing by
// zuvo-replay. Playback's own thread only paces those frames, so it is left out here.
#include <string>
#include <vector>

#include "PlaybackDevice.h"
#include "RawDataRecorder.h"
#include "RawFileReader.h"
#include "RadarConfigFile.h"
#include "ReplayCore.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace zuvo::radar;
using zuvo::fuzz::Check;

void ReadRecording(const std::filesystem::path& folder) {
    RecordingInfo info;
    std::string error;
    if (!InspectRecording(zuvo::fuzz::Wide(folder), info, error)) {
        Check(!error.empty(), "a refused recording without a reason");
        return;
    }
    Check(info.files.size() == 1, "the recording lists another number of files");
    for (const std::wstring& name : info.files) {
        RawFileReader reader;
        if (!reader.Open(zuvo::fuzz::Wide(folder) + L"/" + name, error)) {
            continue;
        }
        int previous = 0;
        RadarFrame frame;
        while (reader.Next(frame)) {
            const int perMille = reader.PerMille();
            Check(perMille >= previous && perMille <= 1000, "the progress went back or past 1000");
            previous = perMille;
            Check(frame.detections.size() <= static_cast<size_t>(kRawMaxDetections),
                  "more detections than the format holds");
            Check(frame.sensorObjects.size() <= static_cast<size_t>(kRawMaxSensorObjects),
                  "more sensor objects than the format holds");
        }
        Check(reader.PerMille() == 1000, "the reader stopped before the end of the file");
        reader.TakeProblems();
    }
    // zuvo-replay: every intact frame through the program's processing, whatever it holds.
    zuvo::replay::Recording recording;
    if (!zuvo::replay::OpenRecording(zuvo::fuzz::Wide(folder), recording, error)) {
        return;
    }
    zuvo::replay::ReadCounts counts;
    int64_t rows = 0;
    Check(zuvo::replay::ReplayObjects(
              recording, {}, [&](const std::string&) { ++rows; }, {}, counts, error),
          "zuvo-replay refused the recording's own parameters");
    Check(counts.frames >= 0 && counts.damagedFrames >= 0, "negative counts");
    std::string described = zuvo::replay::DescribeRecording(recording, counts);
    Check(!described.empty(), "no description");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zuvo::fuzz::ClearRunFolder();
    const std::filesystem::path folder = zuvo::fuzz::RunFolder() / "Radar_20240101_120000";
    std::filesystem::create_directory(folder);
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    zuvo::fuzz::WriteText(folder / "FILE_Radar_Config.ini", RenderParameters(record));
    zuvo::fuzz::WriteBytes(folder / "RawData_0000.zrd", data, size);
    ReadRecording(folder);
    return 0;
}
