// The result log: one text line per object entry the radar library delivers during a run.
//
// Lines are written on the library's delivering thread; the user-interface thread attaches a
// new file at every start and closes it at the next start or at the end of the program, and
// flushes it during a run (at least once a second) and at every stop, so that an operator who
// opens the log, or a crash, finds every line delivered until then. The two threads meet in
// the flush, so one lock guards the stream.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ZUVO_DataProcess.h"
#include "app/LogStream.h"

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
    // Takes over an open stream (null: no log for this run), closing the previous one.
    void Attach(std::FILE* file) { m_stream.Attach(file); }
    void Close() { m_stream.Close(); }
    bool IsOpen() const { return m_stream.IsOpen(); }

    // One line per entry, all stamped with time. A write error ends that line; the next one
    // is still attempted. The lines are not flushed one by one.
    void Write(const std::vector<const RadarObject*>& entries, const LogTime& time);

    // Hands what was written to the system now.
    void Flush() { m_stream.Flush(); }
    // Flushes lines written since the last flush once kFlushPeriodMs have passed since it (now
    // and the flush times are MS_GetTime values). Called by every refresh pass of a run.
    void FlushIfDue(uint32_t now) { m_stream.FlushIfDue(now); }
    // The lines written whole into this run's log.
    uint64_t LinesWritten() const { return m_stream.Written(); }

    static constexpr uint32_t kFlushPeriodMs = LogStream::kFlushPeriodMs;

private:
    LogStream m_stream;
};

}  // namespace zuvo::app
