// The result log: one text line per object entry the radar library delivers during a run.
//
// Lines are written on the library's delivering thread; the user-interface thread attaches a
// new file at every start and closes it at the next start or at the end of the program, both
// while no run is active. The library's stop returns only after its last delivery, so the two
// threads never use the file at the same time and the log needs no lock of its own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ZUVO_DataProcess.h"

namespace zuvo::app {

// Local time of day of a line.
struct LogTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// "[hh:mm:ss.mmm], id, d.dd, a.aa, v.vv" ended by CR LF.
std::string FormatResultLine(const LogTime& time, const RadarObject& entry);

class ResultLog {
public:
    ResultLog() = default;
    ~ResultLog() { Close(); }
    ResultLog(const ResultLog&) = delete;
    ResultLog& operator=(const ResultLog&) = delete;

    // Takes over an open stream (null: no log for this run), closing the previous one.
    void Attach(std::FILE* file);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    // One line per entry, all stamped with time. A write error ends that line; the next one
    // is still attempted. The lines are not flushed one by one.
    void Write(const std::vector<const RadarObject*>& entries, const LogTime& time);

private:
    std::FILE* m_file = nullptr;
};

}  // namespace zuvo::app
