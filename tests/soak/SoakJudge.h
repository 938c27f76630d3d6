// What a long run under load records every few seconds, and the verdict on it: the program's
// resource counts must stay flat once it has settled, the result log must hold a line for
// every delivered entry, and the view must keep being painted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zuvo::soak {

struct SoakSample {
    double timeS = 0.0;        // since the run started
    int64_t privateBytes = 0;  // committed memory of the program's own
    int64_t gdiObjects = 0;
    int64_t userObjects = 0;
    int64_t handles = 0;
    int64_t delivered = 0;  // entries the radar library delivered so far
    int64_t logLines = 0;   // lines of the result log on disk so far
    int64_t paints = 0;     // captures of the view that differed from the one before, so far
};

// A count is flat when it grew from its value at the end of the settling time to its last
// value by less than maxShare of the former, or by no more than handful.
struct FlatRule {
    double maxShare = 0.01;
    int64_t handful = 0;
};

struct SeriesVerdict {
    std::string name;
    int64_t start = 0;    // first sample
    int64_t settled = 0;  // first sample at or after the settling time
    int64_t end = 0;      // last sample
    int64_t peak = 0;     // largest sample at or after the settling time
    int64_t growth = 0;   // end - settled
    int64_t allowed = 0;  // the most growth that still counts as flat
    bool pass = false;
    std::string note;  // what the figures mean when it is not a plain count
};

struct SoakVerdict {
    std::vector<SeriesVerdict> series;
    bool pass = false;
};

// Judges the samples of a run (in time order, the last one taken after the stop, once the
// log is flushed, with stopDelivered the library's count at the stop). The counts must be
// flat from settleS to the last sample of the run; the log lines must equal stopDelivered
// after the stop; the deliveries and the paints must grow in every interval after settleS.
// Too few samples fail.
SoakVerdict JudgeSoak(const std::vector<SoakSample>& samples, double settleS,
                      int64_t stopDelivered);

// The verdict as a table of plain text, one series a line.
std::string FormatVerdict(const SoakVerdict& verdict);

// The samples as CSV with a header line.
std::string SamplesCsv(const std::vector<SoakSample>& samples);

}  // namespace zuvo::soak
