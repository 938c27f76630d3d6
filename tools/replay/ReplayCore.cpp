#include "ReplayCore.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cctype>
#include <cinttypes>
#include <cstdlib>
#include <cstdarg>
#include <cstdio>
#include <thread>

#include "FileSystem.h"
#include "FrameProcessor.h"
#include "PlaybackDevice.h"
#include "RadarConfigFile.h"
#include "RawFileReader.h"

namespace zuvo::replay {

namespace {

// A longer gap between two recorded frames is paced as this long, as the program plays it.
constexpr int64_t kMaxPacedGapMs = 2000;

// The shortest text that reads back as the same double.
std::string Real(double value) {
    char text[64];
    const std::to_chars_result written = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, written.ptr);
}

// Every filter's deliveries, as the program registers for all of them.
class RowListener : public IRadarObjectDetectListener {
public:
    explicit RowListener(const std::function<void(const std::string&)>& row) : m_row(row) {}

    void SetFrameTime(uint32_t timeMs) { m_timeMs = timeMs; }

    void OnRadarObjectDetect(int64_t value, CPtrCtrl* objects) override {
        for (int i = 0; objects != nullptr && i < objects->GetCount(); ++i) {
            const auto* entry = static_cast<const RadarObject*>(objects->GetAt(i));
            if (entry != nullptr) {
                m_row(FormatObjectRow(m_timeMs, static_cast<uint32_t>(value), *entry));
            }
        }
    }

private:
    const std::function<void(const std::string&)>& m_row;
    uint32_t m_timeMs = 0;
};

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    char line[256];
    va_list values;
    va_start(values, format);
    std::vsnprintf(line, sizeof(line), format, values);
    va_end(values);
    return line;
}

}  // namespace

bool OpenRecording(const std::wstring& folder, Recording& recording, std::string& error) {
    radar::RecordingInfo info;
    if (!radar::InspectRecording(folder, info, error)) {
        return false;
    }
    recording.folder = folder;
    recording.record = info.record;
    recording.files = std::move(info.files);
    return true;
}

ReadCounts ReadFrames(const Recording& recording,
                      const std::function<void(const radar::RadarFrame&)>& frame,
                      const std::function<void(int)>& progress) {
    ReadCounts counts;
    const size_t fileCount = recording.files.size();
    int reported = -1;
    auto report = [&](size_t file, int perMille) {
        const int overall =
            fileCount == 0 ? 1000 : static_cast<int>((file * 1000 + perMille) / fileCount);
        if (progress && overall != reported) {
            reported = overall;
            progress(overall);
        }
    };
    for (size_t file = 0; file < fileCount; ++file) {
        const std::wstring& name = recording.files[file];
        radar::RawFileReader reader;
        std::string problem;
        if (!reader.Open(radar::fs::JoinPath(recording.folder, name), problem)) {
            counts.unreadable.push_back(radar::fs::ToMessageText(name) + ": " + problem);
            continue;
        }
        if (counts.filesRead++ == 0) {
            counts.header = reader.Header();
        }
        // A damaged stretch between two intact frames held as many frames as their numbers
        // leave out, and at least one; a stretch with no intact frame after it in its file
        // counts one.
        int stretches = 0;
        bool havePrevious = false;
        uint32_t previousIndex = 0;
        radar::RadarFrame read;
        while (reader.Next(read)) {
            const int newStretches = reader.DamagedStretches() - stretches;
            if (newStretches > 0) {
                const int64_t missing = havePrevious && read.index > previousIndex
                                            ? int64_t{read.index} - previousIndex - 1
                                            : 0;
                counts.damagedFrames += std::max<int64_t>(newStretches, missing);
            }
            stretches = reader.DamagedStretches();
            havePrevious = true;
            previousIndex = read.index;
            if (!counts.anyFrame) {
                counts.firstMs = read.timeMs;
                counts.anyFrame = true;
            }
            counts.lastMs = read.timeMs;
            ++counts.frames;
            frame(read);
            report(file, reader.PerMille());
        }
        counts.damagedFrames += reader.DamagedStretches() - stretches;
        if (reader.EndedInsideFrame()) {
            ++counts.damagedFrames;
        }
        report(file, 1000);
    }
    return counts;
}

std::string DescribeRecording(const Recording& recording, const ReadCounts& counts) {
    std::string text;
    auto add = [&text](const std::string& line) { text += line; };
    text += "recording: " + radar::fs::ToMessageText(recording.folder) + "\n";
    add(Format("format version: %u\n", static_cast<unsigned>(radar::kRawFormatVersion)));
    add("raw data files: " + std::to_string(recording.files.size()) + " (" +
        std::to_string(counts.filesRead) + " read)\n");
    for (const std::string& unreadable : counts.unreadable) {
        text += "  not read: " + unreadable + "\n";
    }
    add("frames: " + std::to_string(counts.frames) + "\n");
    add("damaged frames skipped: " + std::to_string(counts.damagedFrames) + "\n");
    const uint32_t period = counts.header.framePeriodMs;
    // From the first frame's start to the last one's end.
    const double durationS =
        counts.anyFrame ? (static_cast<double>(counts.lastMs - counts.firstMs) + period) / 1000.0
                        : 0.0;
    add(Format("duration: %.3f s\n", durationS));
    add(Format("frame period: %u ms\n", static_cast<unsigned>(period)));
    add(Format("range gates: %u of %.4g m\n", static_cast<unsigned>(counts.header.gateCount),
               counts.header.rangeResolution));
    text += "configuration (FILE_Radar_Config.ini):\n";
    const std::string config = radar::RenderParameters(recording.record);
    size_t start = 0;
    while (start < config.size()) {
        size_t end = config.find('\n', start);
        if (end == std::string::npos) {
            end = config.size();
        }
        std::string entry = config.substr(start, end - start);
        if (!entry.empty() && entry.back() == '\r') {
            entry.pop_back();
        }
        if (!entry.empty() && entry[0] != ';') {  // the file's comments are left out
            text += "  " + entry + "\n";
        }
        start = end + 1;
    }
    return text;
}

const char kObjectsHeader[] =
    "time_ms,frame,id,gate_distance,distance_m,velocity_mps,angle_deg\r\n";

std::string FormatObjectRow(uint32_t timeMs, uint32_t frameIndex, const RadarObject& entry) {
    return std::to_string(timeMs) + "," + std::to_string(frameIndex) + "," +
           std::to_string(entry.Id) + "," + Real(entry.GateDistance) + "," + Real(entry.Distance) +
           "," + Real(entry.Velocity) + "," + Real(entry.Angle) + "\r\n";
}

bool ReplayObjects(const Recording& recording, const ObjectOptions& options,
                   const std::function<void(const std::string&)>& row,
                   const std::function<void(int)>& progress, ReadCounts& counts,
                   std::string& error) {
    tagRADARPARAMETER run = recording.record;
    if (!options.config.empty()) {
        std::vector<std::string> problems;
        if (!radar::LoadParameters(options.config, run, problems)) {
            error = "The parameter file " + radar::fs::ToMessageText(options.config) +
                    " cannot be read.";
            return false;
        }
        // The recording's own range grid describes its data, whatever the file says.
        run.GateCount = recording.record.GateCount;
        run.RangeResolution = recording.record.RangeResolution;
        run.FramePeriodMs = recording.record.FramePeriodMs;
    }
    if (options.site >= 0) {
        run.ProcessSite = options.site;
    }
    radar::FilterSet filters;
    radar::FrameProcessor processor(filters);
    processor.Reset(radar::ProcessingOf(run));
    // The program's order of calls: object detection only when this computer tracks.
    processor.SetObjectDetection(run.ProcessSite == RADAR_PROCESS_SITE_HOST);
    RowListener listener(row);
    filters.modListeners.Add(&listener);
    filters.mttListeners.Add(&listener);
    filters.dataListeners.Add(&listener);

    using Clock = std::chrono::steady_clock;
    Clock::time_point due = Clock::now();
    bool havePrevious = false;
    uint32_t previousMs = 0;
    counts = ReadFrames(
        recording,
        [&](const radar::RadarFrame& frame) {
            if (options.speed > 0.0) {
                const int64_t gap = havePrevious ? int64_t{frame.timeMs} - previousMs : 0;
                due += std::chrono::microseconds(static_cast<int64_t>(
                    std::clamp<int64_t>(gap, 0, kMaxPacedGapMs) * 1000.0 / options.speed));
                std::this_thread::sleep_until(due);
            }
            havePrevious = true;
            previousMs = frame.timeMs;
            listener.SetFrameTime(frame.timeMs);
            processor.Process(frame);
        },
        progress);
    return true;
}

const char kResultLogHeader[] = "time,id,distance_m,angle_deg,velocity_mps\r\n";

bool ResultLineToCsv(const std::string& line, std::string& row) {
    // Exactly as the log writes a line: "[hh:mm:ss.mmm], id, distance, angle, velocity".
    constexpr size_t kTimeEnd = 13;  // the "]"
    if (line.size() < kTimeEnd + 3 || line[0] != '[' || line.compare(kTimeEnd, 3, "], ") != 0) {
        return false;
    }
    const std::string time = line.substr(1, kTimeEnd - 1);
    for (size_t i = 0; i < time.size(); ++i) {
        const bool separator = i == 2 || i == 5 || i == 8;
        const char expected = i == 8 ? '.' : ':';
        if (separator ? time[i] != expected : !std::isdigit(static_cast<unsigned char>(time[i]))) {
            return false;
        }
    }
    std::vector<std::string> fields;
    size_t start = kTimeEnd + 3;
    while (true) {
        const size_t comma = line.find(", ", start);
        fields.push_back(line.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 2;
    }
    if (fields.size() != 4) {
        return false;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        char* end = nullptr;
        if (field.empty() || field.find_first_of(" ,\r\n") != std::string::npos) {
            return false;
        }
        if (i == 0) {
            std::strtoll(field.c_str(), &end, 10);
        } else {
            std::strtod(field.c_str(), &end);
        }
        if (end != field.c_str() + field.size()) {
            return false;
        }
    }
    // The log's own text of each value, which is what it holds: two decimals.
    row = time + "," + fields[0] + "," + fields[1] + "," + fields[2] + "," + fields[3] + "\r\n";
    return true;
}

bool ResultLogToCsv(const std::wstring& path, const std::function<void(const std::string&)>& out,
                    LogConversion& conversion, std::string& error) {
    const radar::fs::UniqueFile file = radar::fs::OpenFile(path, "rb");
    if (!file) {
        error = "The result log " + radar::fs::ToMessageText(path) + " cannot be read.";
        return false;
    }
    out(kResultLogHeader);
    std::string line;
    int64_t number = 0;
    auto take = [&] {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::string row;
        if (ResultLineToCsv(line, row)) {
            out(row);
            ++conversion.rows;
        } else if (!line.empty()) {
            conversion.skipped.push_back("line " + std::to_string(number) + ": " +
                                         line.substr(0, 80));
        }
        line.clear();
    };
    char buffer[1 << 16];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0) {
        for (size_t i = 0; i < got; ++i) {
            if (buffer[i] == '\n') {
                take();
            } else {
                line.push_back(buffer[i]);
            }
        }
    }
    if (std::ferror(file.get()) != 0) {
        error = "The result log " + radar::fs::ToMessageText(path) + " cannot be read.";
        return false;
    }
    if (!line.empty()) {
        take();
    }
    return true;
}

}  // namespace zuvo::replay
