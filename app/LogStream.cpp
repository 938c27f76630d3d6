#include "app/LogStream.h"

namespace zuvo::app {

void LogStream::Attach(std::FILE* file) {
    Close();
    const std::lock_guard<std::mutex> hold(m_mutex);
    m_file = file;
    m_written = 0;
    m_unflushed = false;
    m_flushedOnce = false;
}

void LogStream::Close() {
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_unflushed = false;
}

bool LogStream::IsOpen() const {
    const std::lock_guard<std::mutex> hold(m_mutex);
    return m_file != nullptr;
}

bool LogStream::Write(std::string_view text) {
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (m_file == nullptr) {
        return false;
    }
    m_unflushed = true;
    size_t written = 0;
    while (written < text.size()) {
        const size_t now = std::fwrite(text.data() + written, 1, text.size() - written, m_file);
        if (now == 0) {
            // The stream's error stays set otherwise and would end every later text too.
            std::clearerr(m_file);
            return false;
        }
        written += now;
    }
    ++m_written;
    return true;
}

void LogStream::Flush() {
    const std::lock_guard<std::mutex> hold(m_mutex);
    FlushLocked();
}

void LogStream::FlushIfDue(uint32_t now) {
    const std::lock_guard<std::mutex> hold(m_mutex);
    if (!m_unflushed) {
        m_lastFlush = now;  // the period counts from the first text not yet flushed
        m_flushedOnce = true;
        return;
    }
    if (!m_flushedOnce || now - m_lastFlush >= kFlushPeriodMs) {
        FlushLocked();
        m_lastFlush = now;
        m_flushedOnce = true;
    }
}

void LogStream::FlushLocked() {
    if (m_file != nullptr && m_unflushed) {
        std::fflush(m_file);
    }
    m_unflushed = false;
}

}  // namespace zuvo::app
