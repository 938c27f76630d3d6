// The area events file of a run: "Log\ZUVO_MTT_Events_<date>_<time>.csv" beside the result
// log, UTF-8 comma-separated values (RFC 4180) with the header "time,area,object_id,event,
// dwell_ms" and one row per enter and per exit of an object in a monitoring area:
//
//   2026-12-10 15:03:09.007,1,7,enter,0
//   2026-12-10 15:03:11.457,1,7,exit,2450
//
// The time is the local time of the update that saw the event, to the millisecond; it is
// counted from the run's start on the same clock as the dwell, so the dwell of an exit is the
// difference of its row's time and the time of its enter. Areas are numbered from 1 in the
// order of their slots. Rows are written on the radar library's thread, flushed by the
// refresh pass and at the stop, like the result log's lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "app/AreaEvents.h"
#include "app/LogStream.h"

namespace zuvo::app {

// A local date and time to the millisecond.
struct LocalDateTime {
    int year = 1970;
    int month = 1;  // 1 .. 12
    int day = 1;    // 1 .. 31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const LocalDateTime&) const = default;
};

// Milliseconds since 1970-01-01 00:00:00.000 of the same clock, and back (proleptic Gregorian
// calendar, no leap seconds).
int64_t ToMilliseconds(const LocalDateTime& time);
LocalDateTime FromMilliseconds(int64_t milliseconds);

// The header line and one row, each ended by CR LF.
std::string EventHeader();
std::string FormatEventRow(const LocalDateTime& time, const AreaEvent& event);

class AreaEventLog {
public:
    // Takes over an open stream (null: no file for this run) for a run whose clock read
    // startTick (MS_GetTime) at the local time startTime, closing the previous one, and
    // writes the header.
    void Attach(std::FILE* file, uint32_t startTick, const LocalDateTime& startTime);
    void Close() { m_stream.Close(); }
    bool IsOpen() const { return m_stream.IsOpen(); }

    // One row per event.
    void Write(const std::vector<AreaEvent>& events);

    void Flush() { m_stream.Flush(); }
    void FlushIfDue(uint32_t now) { m_stream.FlushIfDue(now); }

private:
    LogStream m_stream;
    mutable std::mutex m_mutex;  // the run's start, set by the user-interface thread
    uint32_t m_startTick = 0;
    int64_t m_startMs = 0;
};

}  // namespace zuvo::app
