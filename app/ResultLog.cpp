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

void ResultLog::Attach(std::FILE* file) {
    Close();
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_file = file;
    m_unflushed = false;
    m_flushedOnce = false;
}

void ResultLog::Close() {
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_unflushed = false;
}

bool ResultLog::IsOpen() const {
    const std::lock_guard<std::mutex> hold(m_mutex);
    return m_file != nullptr;
}

void ResultLog::Flush() {
    const std::lock_guard<std::mutex> hold(m_mutex);
    FlushLocked();
}

void ResultLog::FlushIfDue(uint32_t now) {
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_unflushed) {
        m_lastFlush = now;  // the period counts from the first line not yet flushed
        m_flushedOnce = true;
        return;
    }
    if (!m_flushedOnce || now - m_lastFlush >= kFlushPeriodMs) {
        FlushLocked();
        m_lastFlush = now;
        m_flushedOnce = true;
    }
}

void ResultLog::FlushLocked() {
    if (m_file != nullptr && m_unflushed) {
        std::fflush(m_file);
    }
    m_unflushed = false;
}

void ResultLog::Write(const std::vector<const RadarObject*>& entries, const LogTime& time) {
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (m_file == nullptr) {
        return;
    }
    m_unflushed = true;
    for (const RadarObject* entry : entries) {
        if (entry == nullptr) {
            continue;
        }
        const std::string line = FormatResultLine(time, *entry);
        size_t written = 0;
        while (written < line.size()) {
            const size_t now = std::fwrite(line.data() + written, 1, line.size() - written, m_file);
            if (now == 0) {
                // The stream's error stays set otherwise and would end every later line too.
                std::clearerr(m_file);
                break;
            }
            written += now;
        }
    }
}

}  // namespace zuvo::app
