#include "tests/soak/SoakJudge.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace zuvo::soak {

namespace {

struct CountSeries {
    const char* name;
    int64_t SoakSample::*field;
    FlatRule rule;
};

// A handful of GUI objects or handles may come and go with what the program happens to be
// doing at the moment of a sample (a timer, a tooltip, a file being opened); memory may move by
// what one heap segment holds.
const CountSeries kCounts[] = {
    {"private bytes", &SoakSample::privateBytes, FlatRule{0.01, 0}},
    {"GDI objects", &SoakSample::gdiObjects, FlatRule{0.01, 8}},
    {"USER objects", &SoakSample::userObjects, FlatRule{0.01, 4}},
    {"handles", &SoakSample::handles, FlatRule{0.01, 8}},
};

size_t SettledIndex(const std::vector<SoakSample>& samples, double settleS) {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].timeS >= settleS) {
            return i;
        }
    }
    return samples.size();
}

// Growth in every interval from the settled sample on.
bool GrowsEveryInterval(const std::vector<SoakSample>& samples, size_t from,
                        int64_t SoakSample::*field, size_t last) {
    for (size_t i = from + 1; i <= last; ++i) {
        if (samples[i].*field <= samples[i - 1].*field) {
            return false;
        }
    }
    return true;
}

}  // namespace

SoakVerdict JudgeSoak(const std::vector<SoakSample>& samples, double settleS,
                      int64_t stopDelivered) {
    SoakVerdict verdict;
    const size_t settled = SettledIndex(samples, settleS);
    // At least two samples after the settling time, besides the one after the stop.
    if (samples.size() < 3 || settled + 2 >= samples.size()) {
        SeriesVerdict missing;
        missing.name = "samples";
        missing.end = static_cast<int64_t>(samples.size());
        missing.note = "too few samples after the settling time";
        verdict.series.push_back(missing);
        return verdict;
    }
    const SoakSample& first = samples.front();
    const SoakSample& last = samples.back();
    // The last sample comes after the stop, which ends threads and closes files: the counts
    // are judged on the run, up to the sample before it.
    const size_t running = samples.size() - 2;
    verdict.pass = true;
    for (const CountSeries& count : kCounts) {
        SeriesVerdict series;
        series.name = count.name;
        series.start = first.*count.field;
        series.settled = samples[settled].*count.field;
        series.end = samples[running].*count.field;
        series.peak = series.settled;
        for (size_t i = settled; i <= running; ++i) {
            series.peak = std::max(series.peak, samples[i].*count.field);
        }
        series.growth = series.end - series.settled;
        series.allowed = std::max(count.rule.handful,
                                  static_cast<int64_t>(count.rule.maxShare * series.settled));
        series.pass = series.growth <= series.allowed;
        verdict.pass = verdict.pass && series.pass;
        verdict.series.push_back(series);
    }
    SeriesVerdict delivered;
    delivered.name = "deliveries";
    delivered.start = first.delivered;
    delivered.settled = samples[settled].delivered;
    delivered.end = stopDelivered;
    delivered.peak = stopDelivered;
    delivered.growth = stopDelivered - delivered.settled;
    delivered.pass = GrowsEveryInterval(samples, settled, &SoakSample::delivered, running) &&
                     stopDelivered >= samples[running].delivered;
    delivered.note = delivered.pass ? "grew in every interval" : "stalled";
    verdict.series.push_back(delivered);

    SeriesVerdict lines;
    lines.name = "log lines";
    lines.start = first.logLines;
    lines.settled = samples[settled].logLines;
    lines.end = last.logLines;
    lines.peak = last.logLines;
    lines.growth = lines.end - lines.settled;
    lines.allowed = 0;
    lines.pass = last.logLines == stopDelivered && stopDelivered > 0;
    lines.note = "at the end " + std::to_string(last.logLines - stopDelivered) +
                 " from the entries delivered";
    verdict.series.push_back(lines);

    SeriesVerdict paints;
    paints.name = "paints";
    paints.start = first.paints;
    paints.settled = samples[settled].paints;
    paints.end = samples[running].paints;
    paints.peak = paints.end;
    paints.growth = paints.end - paints.settled;
    paints.pass = GrowsEveryInterval(samples, settled, &SoakSample::paints, running);
    paints.note = paints.pass ? "changed in every interval" : "the view stood still";
    verdict.series.push_back(paints);

    verdict.pass = verdict.pass && delivered.pass && lines.pass && paints.pass;
    return verdict;
}

std::string FormatVerdict(const SoakVerdict& verdict) {
    std::string text;
    char line[256];
    std::snprintf(line, sizeof(line), "%-14s %12s %12s %12s %12s %10s %10s  %s\n", "series",
                  "start", "after 1 min", "end", "growth", "growth %", "allowed", "verdict");
    text += line;
    for (const SeriesVerdict& s : verdict.series) {
        // A share of growth means something for the counts only; the rest are meant to grow.
        char share[32] = "-";
        if (s.note.empty() && s.settled != 0) {
            std::snprintf(share, sizeof(share), "%.2f%%", 100.0 * s.growth / s.settled);
        }
        std::snprintf(line, sizeof(line),
                      "%-14s %12" PRId64 " %12" PRId64 " %12" PRId64 " %12" PRId64
                      " %10s %10s  %s%s%s\n",
                      s.name.c_str(), s.start, s.settled, s.end, s.growth, share,
                      s.note.empty() ? std::to_string(s.allowed).c_str() : "-",
                      s.pass ? "pass" : "FAIL", s.note.empty() ? "" : ": ", s.note.c_str());
        text += line;
    }
    text += verdict.pass ? "soak: pass\n" : "soak: FAIL\n";
    return text;
}

std::string SamplesCsv(const std::vector<SoakSample>& samples) {
    std::string text =
        "time_s,private_bytes,gdi_objects,user_objects,handles,delivered,log_lines,paints\n";
    char line[256];
    for (const SoakSample& s : samples) {
        std::snprintf(line, sizeof(line),
                      "%.1f,%" PRId64 ",%" PRId64 ",%" PRId64 ",%" PRId64 ",%" PRId64 ",%" PRId64
                      ",%" PRId64 "\n",
                      s.timeS, s.privateBytes, s.gdiObjects, s.userObjects, s.handles, s.delivered,
                      s.logLines, s.paints);
        text += line;
    }
    return text;
}

}  // namespace zuvo::soak
