// The run-health overlay's text (F11): what the program itself measured over the last second.
#pragma once

#include <cstdint>
#include <string>

namespace zuvo::app {

struct RunHealth {
    double deliveriesPerSecond = 0.0;
    int objects = 0;         // objects of the last delivery
    int entries = 0;         // area entries of the run
    uint64_t logLines = 0;   // result log lines of the run
    bool painted = false;    // paints within the last second
    double paintMs = 0.0;    // their median time
    bool delivered = false;  // paints that showed a delivery within the last second
    double latencyMs = 0.0;  // their median delivery-to-screen latency
};

// The captions, in the program's language, in the order of the lines.
struct RunHealthWords {
    std::wstring deliveries;  // "Deliveries/s"
    std::wstring objects;
    std::wstring entries;
    std::wstring logLines;
    std::wstring paint;
    std::wstring latency;
};

// One line per figure, "<caption> <value>", times in milliseconds with one decimal ("-" when
// there was nothing to time), lines ended by LF except the last (the view draws it with GDI+,
// which shows a CR as a character of its own).
std::wstring FormatRunHealth(const RunHealthWords& words, const RunHealth& health);

}  // namespace zuvo::app
