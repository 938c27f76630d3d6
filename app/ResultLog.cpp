#include "app/ResultLog.h"

#include <cinttypes>

namespace zuvo::app {

std::string FormatResultLine(const LogTime& time, const RadarObject& entry) {
    char line[160];
    const int length = std::snprintf(line, sizeof(line),
                                     "[%02d:%02d:%02d.%03d], %" PRId64 ", %.2f, %.2f, %.2f\r\n",
                                     time.hour, time.minute, time.second, time.millisecond,
                                     entry.Id, entry.Distance, entry.Angle, entry.Velocity);
    if (length <= 0) {
        return {};
    }
    // Absurd values (a distance of 1e300) would not fit: the line is then cut, but it keeps
    // its line end so the next line starts on its own.
    if (static_cast<size_t>(length) >= sizeof(line)) {
        std::string cut(line, sizeof(line) - 3);
        return cut + "\r\n";
    }
    return std::string(line, static_cast<size_t>(length));
}

void ResultLog::Write(const std::vector<const RadarObject*>& entries, const LogTime& time) {
    if (!m_stream.IsOpen()) {
        return;
    }
    for (const RadarObject* entry : entries) {
        if (entry != nullptr) {
            m_stream.Write(FormatResultLine(time, *entry));
        }
    }
}

}  // namespace zuvo::app
