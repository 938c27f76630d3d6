#include "app/AreaEventLog.h"

#include <cinttypes>

namespace zuvo::app {

namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (H. Hinnant's
// days_from_civil).
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

int64_t ToMilliseconds(const LocalDateTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * kMsPerDay +
           ((time.hour * 60 + time.minute) * 60 + time.second) * int64_t{1000} + time.millisecond;
}

LocalDateTime FromMilliseconds(int64_t milliseconds) {
    int64_t days = milliseconds / kMsPerDay;
    int64_t rest = milliseconds % kMsPerDay;
    if (rest < 0) {
        rest += kMsPerDay;
        --days;
    }
    LocalDateTime time;
    CivilFromDays(days, time.year, time.month, time.day);
    time.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    time.second = static_cast<int>(rest % 60);
    rest /= 60;
    time.minute = static_cast<int>(rest % 60);
    time.hour = static_cast<int>(rest / 60);
    return time;
}

std::string EventHeader() {
    return "time,area,object_id,event,dwell_ms\r\n";
}

std::string FormatEventRow(const LocalDateTime& time, const AreaEvent& event) {
    char row[128];
    const int length = std::snprintf(
        row, sizeof(row), "%04d-%02d-%02d %02d:%02d:%02d.%03d,%d,%" PRId64 ",%s,%" PRIu32 "\r\n",
        time.year, time.month, time.day, time.hour, time.minute, time.second, time.millisecond,
        event.area + 1, event.objectId, event.kind == AreaEventKind::kEnter ? "enter" : "exit",
        event.dwellMs);
    return length > 0 && static_cast<size_t>(length) < sizeof(row)
               ? std::string(row, static_cast<size_t>(length))
               : std::string();
}

void AreaEventLog::Attach(std::FILE* file, uint32_t startTick, const LocalDateTime& startTime) {
    {
        const std::lock_guard<std::mutex> hold(m_mutex);
        m_startTick = startTick;
        m_startMs = ToMilliseconds(startTime);
    }
    m_stream.Attach(file);
    m_stream.Write(EventHeader());
}

void AreaEventLog::Write(const std::vector<AreaEvent>& events) {
    if (events.empty() || !m_stream.IsOpen()) {
        return;
    }
    uint32_t startTick = 0;
    int64_t startMs = 0;
    {
        const std::lock_guard<std::mutex> hold(m_mutex);
        startTick = m_startTick;
        startMs = m_startMs;
    }
    for (const AreaEvent& event : events) {
        m_stream.Write(FormatEventRow(FromMilliseconds(startMs + (event.at - startTick)), event));
    }
}

}  // namespace zuvo::app
