// GetFileNameByDateW: file names stamped with the date and time, made unique within the
// process on request.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <cwchar>
#include <mutex>

#include "DateNameFormat.h"
#include "ZUVO_CommonCoreExtras.h"

namespace zuvo::datename {

namespace {

// Appends text; false when it does not fit (the terminator included).
bool AppendText(wchar_t* out, size_t outSize, size_t* length, const wchar_t* text) {
    if (text == nullptr) {
        return true;
    }
    for (; *text != L'\0'; ++text) {
        if (*length + 1 >= outSize) {
            return false;
        }
        out[(*length)++] = *text;
    }
    return true;
}

// Appends value in decimal with at least digits digits (zero-padded); negative values print 0.
bool AppendNumber(wchar_t* out, size_t outSize, size_t* length, int value, int digits) {
    wchar_t reversed[16];
    int count = 0;
    unsigned remaining = value > 0 ? static_cast<unsigned>(value) : 0u;
    while (remaining > 0 || count < digits) {
        reversed[count++] = static_cast<wchar_t>(L'0' + remaining % 10);
        remaining /= 10;
    }
    while (count > 0) {
        if (*length + 1 >= outSize) {
            return false;
        }
        out[(*length)++] = reversed[--count];
    }
    return true;
}

}  // namespace

bool BreakDownTime(std::chrono::system_clock::time_point when, bool utc, StampTime* out) {
    if (out == nullptr) {
        return false;
    }
    const int64_t sinceEpochMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count();
    // Floor division, so that a time before 1970 still has milliseconds in 0..999.
    int64_t seconds = sinceEpochMs / 1000;
    int64_t millisecond = sinceEpochMs % 1000;
    if (millisecond < 0) {
        millisecond += 1000;
        seconds -= 1;
    }
    const std::time_t clock = static_cast<std::time_t>(seconds);
    std::tm parts{};
#if defined(_WIN32)
    const bool ok = (utc ? gmtime_s(&parts, &clock) : localtime_s(&parts, &clock)) == 0;
#else
    const bool ok = (utc ? gmtime_r(&clock, &parts) : localtime_r(&clock, &parts)) != nullptr;
#endif
    if (!ok) {
        return false;
    }
    out->year = parts.tm_year + 1900;
    out->month = parts.tm_mon + 1;
    out->day = parts.tm_mday;
    out->hour = parts.tm_hour;
    out->minute = parts.tm_min;
    out->second = parts.tm_sec;
    out->millisecond = static_cast<int>(millisecond);
    return true;
}

int FormatDateName(wchar_t* out, size_t outSize, const StampTime& time, bool withMilliseconds,
                   int sequence, const wchar_t* prefix, const wchar_t* suffix,
                   const wchar_t* extension) {
    if (out == nullptr || outSize == 0) {
        return 0;
    }
    wchar_t name[ZUVO_MAX_PATH];
    const size_t capacity = outSize < ZUVO_MAX_PATH ? outSize : ZUVO_MAX_PATH;
    size_t length = 0;
    bool fits = AppendText(name, capacity, &length, prefix) &&
                AppendNumber(name, capacity, &length, time.year, 4) &&
                AppendNumber(name, capacity, &length, time.month, 2) &&
                AppendNumber(name, capacity, &length, time.day, 2) &&
                AppendText(name, capacity, &length, L"_") &&
                AppendNumber(name, capacity, &length, time.hour, 2) &&
                AppendNumber(name, capacity, &length, time.minute, 2) &&
                AppendNumber(name, capacity, &length, time.second, 2);
    if (fits && withMilliseconds) {
        fits = AppendText(name, capacity, &length, L"_") &&
               AppendNumber(name, capacity, &length, time.millisecond, 3);
    }
    if (fits && sequence > 0) {
        fits = AppendText(name, capacity, &length, L"_") &&
               AppendNumber(name, capacity, &length, sequence, 3);
    }
    fits = fits && AppendText(name, capacity, &length, suffix) &&
           AppendText(name, capacity, &length, extension);
    if (!fits) {
        return 0;
    }
    name[length] = L'\0';
    std::wmemcpy(out, name, length + 1);
    return static_cast<int>(length);
}

NameSequence::NameSequence() : m_entries{}, m_oldest(0) {}

int NameSequence::Next(const wchar_t* name) {
    if (name == nullptr) {
        return 0;
    }
    Entry* entry = Find(name);
    if (entry != nullptr) {
        return ++entry->lastSequence;
    }
    Insert(name, std::wcslen(name));
    return 0;
}

void NameSequence::Remember(const wchar_t* name) {
    if (name != nullptr && Find(name) == nullptr) {
        Insert(name, std::wcslen(name));
    }
}

NameSequence::Entry* NameSequence::Find(const wchar_t* name) {
    for (Entry& entry : m_entries) {
        if (entry.used && std::wcscmp(entry.name, name) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

void NameSequence::Insert(const wchar_t* name, size_t length) {
    if (length >= kMaxNameChars) {
        return;
    }
    Entry& entry = m_entries[m_oldest];
    std::wmemcpy(entry.name, name, length + 1);
    entry.lastSequence = 0;
    entry.used = true;
    m_oldest = (m_oldest + 1) % kRememberedNames;
}

}  // namespace zuvo::datename

namespace {

std::mutex& NamesLock() {
    static std::mutex lock;
    return lock;
}

zuvo::datename::NameSequence& AnsweredNames() {
    static zuvo::datename::NameSequence names;
    return names;
}

}  // namespace

extern "C" {

int ZUVO_CALL GetFileNameByDateW(wchar_t* out, const wchar_t* extension, const wchar_t* prefix,
                                 const wchar_t* suffix, int withMilliseconds, int unique, int utc) {
    using namespace zuvo::datename;
    if (out == nullptr) {
        return 0;
    }
    StampTime now{};
    if (!BreakDownTime(std::chrono::system_clock::now(), utc != 0, &now)) {
        return 0;
    }
    wchar_t name[ZUVO_MAX_PATH];
    int length = FormatDateName(name, ZUVO_MAX_PATH, now, withMilliseconds != 0, 0, prefix, suffix,
                                extension);
    if (length == 0) {
        return 0;
    }
    try {
        std::lock_guard<std::mutex> hold(NamesLock());
        if (unique != 0) {
            const int sequence = AnsweredNames().Next(name);
            if (sequence > 0) {
                length = FormatDateName(name, ZUVO_MAX_PATH, now, withMilliseconds != 0, sequence,
                                        prefix, suffix, extension);
            }
        } else {
            // Remembered too, so that a later unique request does not repeat this answer.
            AnsweredNames().Remember(name);
        }
    } catch (...) {
        // std::system_error from the mutex: answer failure rather than a name that may repeat.
        return 0;
    }
    if (length == 0) {
        return 0;
    }
    std::wmemcpy(out, name, static_cast<size_t>(length) + 1);
    return length;
}

}  // extern "C"
