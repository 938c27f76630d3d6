// A text log file written on one thread and flushed from another: the result log's and the
// area events' stream.
//
// The writing thread appends text; the user-interface thread attaches a new file at every
// start, flushes it during a run (at least once a second) and at every stop, and closes it, so
// that an operator who opens the file, or a crash, finds what was written until then. One lock
// guards the stream.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string_view>

namespace zuvo::app {

class LogStream {
public:
    LogStream() = default;
    ~LogStream() { Close(); }
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;

    // Takes over an open stream (null: no file for this run), closing the previous one.
    void Attach(std::FILE* file);
    void Close();
    bool IsOpen() const;

    // Appends text, not flushed. A write error ends this text; the next one is still
    // attempted. False when nothing is open or the text was cut.
    bool Write(std::string_view text);
    // The texts written whole since the last Attach.
    uint64_t Written() const { return m_written.load(); }

    // Hands what was written to the system now.
    void Flush();
    // Flushes what was written since the last flush once kFlushPeriodMs have passed since it
    // (now and the flush times are MS_GetTime values).
    void FlushIfDue(uint32_t now);

    static constexpr uint32_t kFlushPeriodMs = 1000;

private:
    void FlushLocked();

    mutable std::mutex m_mutex;
    std::atomic<uint64_t> m_written{0};
    std::FILE* m_file = nullptr;
    bool m_unflushed = false;  // text written since the last flush
    uint32_t m_lastFlush = 0;
    bool m_flushedOnce = false;  // m_lastFlush means something
};

}  // namespace zuvo::app
