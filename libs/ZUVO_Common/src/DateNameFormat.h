// Internal helpers of GetFileNameByDateW and the diagnostics log, separated from the clock so
// that tests can feed them fixed times. Portable: no <windows.h>.
#pragma once

#include <chrono>
#include <cstddef>

namespace zuvo::datename {

// A calendar time as the stamps print it.
struct StampTime {
    int year;         // e.g. 2024
    int month;        // 1..12
    int day;          // 1..31
    int hour;         // 0..23
    int minute;       // 0..59
    int second;       // 0..60 (a leap second prints as 60)
    int millisecond;  // 0..999
};

// Breaks a clock reading down into local time (or UTC); false when the C library cannot.
bool BreakDownTime(std::chrono::system_clock::time_point when, bool utc, StampTime* out);

// Writes prefix + "YYYYMMDD_hhmmss" (+ "_mmm" with milliseconds) (+ "_nnn" when sequence > 0)
// + suffix + extension into out of outSize characters (260 at most are used, the path limit).
// Null texts count as empty. Answers the length, or 0 when the name does not fit (out is then
// left unchanged).
int FormatDateName(wchar_t* out, size_t outSize, const StampTime& time, bool withMilliseconds,
                   int sequence, const wchar_t* prefix, const wchar_t* suffix,
                   const wchar_t* extension);

// Hands out sequence numbers for names answered recently: 0 the first time a name is seen,
// then 1, 2, ... A stamped name recurs only within its own second (or when the clock is set
// back), so remembering the last kRememberedNames different names is enough. Not thread-safe.
class NameSequence {
public:
    static constexpr int kRememberedNames = 16;
    static constexpr size_t kMaxNameChars = 260;

    NameSequence();
    // Answers the sequence number for name and remembers it. Names of kMaxNameChars or more
    // characters are not remembered and answer 0.
    int Next(const wchar_t* name);
    // Remembers name as answered (sequence 0) unless it is remembered already.
    void Remember(const wchar_t* name);

private:
    struct Entry {
        wchar_t name[kMaxNameChars];
        int lastSequence;
        bool used;
    };
    Entry* Find(const wchar_t* name);
    void Insert(const wchar_t* name, size_t length);

    Entry m_entries[kRememberedNames];
    int m_oldest;
};

}  // namespace zuvo::datename
