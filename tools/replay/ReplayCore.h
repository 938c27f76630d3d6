// What zuvo-replay does, without its command line: reads a recording folder frame by frame with
// the radar library's own reader, processes the frames again with the library's own
// processing (the objects the program's playback delivers), and turns a result log into CSV.
// Portable; the frames and objects are the stand-in library's, so a recording gives here what it
// gives in the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "RadarFrame.h"
#include "RawDataFormat.h"
#include "ZUVO_DataProcess.h"

namespace zuvo::replay {

// A recording folder: "FILE_Radar_Config.ini" and its raw-data files in reading order.
struct Recording {
    std::wstring folder;
    tagRADARPARAMETER record{};  // the run's parameters, as recorded
    std::vector<std::wstring> files;
};

// false with the reason for the operator when folder is not a readable recording.
bool OpenRecording(const std::wstring& folder, Recording& recording, std::string& error);

// What reading the raw-data files met.
struct ReadCounts {
    int filesRead = 0;
    int64_t frames = 0;         // intact frames, each handed on once
    int64_t damagedFrames = 0;  // frames skipped as damaged, a file's cut-off end included
    bool anyFrame = false;
    uint32_t firstMs = 0;  // sensor time of the first and the last intact frame
    uint32_t lastMs = 0;
    radar::RawFileHeader header;  // of the first file that could be read
    // One line per raw-data file that could not be read at all ("RawData_0002.zrd: damaged
    // file header"); its frames are neither counted nor handed on.
    std::vector<std::string> unreadable;
};

// Hands every intact frame to frame, in recorded order; progress gets how far reading has
// come in per mille (may be empty).
ReadCounts ReadFrames(const Recording& recording,
                      const std::function<void(const radar::RadarFrame&)>& frame,
                      const std::function<void(int)>& progress);

// The text of "zuvo-replay info": version, files, frames, duration, damage, configuration.
std::string DescribeRecording(const Recording& recording, const ReadCounts& counts);

// How "zuvo-replay objects" processes a recording.
struct ObjectOptions {
    std::wstring config;  // a parameter file to process with; empty: the recording's own
    int site = -1;        // RADAR_PROCESS_SITE_HOST or _SENSOR; -1: the parameters' own
    double speed = 0.0;   // 0: as fast as possible; else this many times the recorded pace
};

extern const char kObjectsHeader[];  // "time_ms,frame,id,gate_distance,..."
// One CSV row (with its line end) for an entry delivered for the frame.
std::string FormatObjectRow(uint32_t timeMs, uint32_t frameIndex, const RadarObject& entry);

// Processes the frames as the program's playback does (the range grid is the recording's, the
// processing the parameters'), handing out one row per delivered entry in delivery order.
// false with the reason when the parameter file cannot be read.
bool ReplayObjects(const Recording& recording, const ObjectOptions& options,
                   const std::function<void(const std::string&)>& row,
                   const std::function<void(int)>& progress, ReadCounts& counts,
                   std::string& error);

// A result log ("[hh:mm:ss.mmm], id, distance, angle, velocity" per line) as CSV.
extern const char kResultLogHeader[];  // "time,id,distance_m,angle_deg,velocity_mps"
struct LogConversion {
    int64_t rows = 0;
    std::vector<std::string> skipped;  // "line 12: ..." for each line that is no entry
};
// false with the reason when the file cannot be read.
bool ResultLogToCsv(const std::wstring& path, const std::function<void(const std::string&)>& out,
                    LogConversion& conversion, std::string& error);
// One line of a result log (without its line end) as a CSV row with its line end; false for a
// line that is no entry.
bool ResultLineToCsv(const std::string& line, std::string& row);

}  // namespace zuvo::replay
