// A stand-in for the sector view that records what the stored areas hand it, and a sink that
// records the detection bounds given to the radar library.
#pragma once

#include <string>
#include <vector>

#include "settings/AreaView.h"
#include "settings/DetectBoundSink.h"

namespace zuvo::settings::test {

struct RecordedArea {
    std::vector<int32_t> points;
    uint32_t inactiveColour;
    uint32_t activeColour;
};

struct RecordedPoint {
    double distance;
    double angle;
    double size;
    std::wstring label;
    uint32_t inactiveColour;
    uint32_t activeColour;
    uint32_t labelColour;
};

class RecordingAreaView : public IAreaView {
public:
    explicit RecordingAreaView(ZRect rect) : sectorRect(rect) {}

    ZRect GetSectorRect() const override { return sectorRect; }
    void ClearAlgorithmAreas() override {
        calls.push_back("ClearAlgorithmAreas");
        algorithmAreas.clear();
    }
    int AddAlgorithmArea(const int32_t* pairs, int count, uint32_t inactiveColour,
                         uint32_t activeColour) override {
        calls.push_back("AddAlgorithmArea");
        algorithmAreas.push_back({{pairs, pairs + 2 * count}, inactiveColour, activeColour});
        return static_cast<int>(algorithmAreas.size()) - 1;
    }
    void ClearMonitorAreas() override {
        calls.push_back("ClearMonitorAreas");
        monitorAreas.clear();
    }
    int AddMonitorArea(const int32_t* pairs, int count, uint32_t inactiveColour,
                       uint32_t activeColour) override {
        calls.push_back("AddMonitorArea");
        monitorAreas.push_back({{pairs, pairs + 2 * count}, inactiveColour, activeColour});
        return static_cast<int>(monitorAreas.size()) - 1;
    }
    void ClearMonitorPoints() override {
        calls.push_back("ClearMonitorPoints");
        points.clear();
    }
    void AddMonitorPoint(double distance, double angle, double size, const wchar_t* label,
                         uint32_t inactiveColour, uint32_t activeColour,
                         uint32_t labelColour) override {
        calls.push_back("AddMonitorPoint");
        points.push_back({distance, angle, size, label, inactiveColour, activeColour, labelColour});
    }
    bool GetAlgorithmArea(int slot, std::vector<int32_t>& pairs) const override {
        if (slot < 0 || slot >= kAreaSlotCount || boundarySlots[slot].empty()) {
            return false;
        }
        pairs = boundarySlots[slot];
        return true;
    }

    ZRect sectorRect;
    std::vector<std::string> calls;
    std::vector<RecordedArea> algorithmAreas;
    std::vector<RecordedArea> monitorAreas;
    std::vector<RecordedPoint> points;
    std::vector<int32_t> boundarySlots[kAreaSlotCount];
};

struct RecordedBound {
    std::string filter;
    std::vector<std::pair<int32_t, int32_t>> points;
    bool operator==(const RecordedBound&) const = default;
};

class RecordingBoundSink : public IDetectBoundSink {
public:
    void ClearModBounds() override { calls.push_back("ClearMod"); }
    void ClearMttBounds() override { calls.push_back("ClearMtt"); }
    void AddModBound(const DetectBoundPoint* bound, int count) override {
        Add("MOD", bound, count);
    }
    void AddMttBound(const DetectBoundPoint* bound, int count) override {
        Add("MTT", bound, count);
    }

    std::vector<std::string> calls;
    std::vector<RecordedBound> bounds;

private:
    void Add(const char* filter, const DetectBoundPoint* bound, int count) {
        calls.push_back(std::string("Add") + filter);
        RecordedBound recorded{filter, {}};
        for (int i = 0; i < count; ++i) {
            recorded.points.emplace_back(bound[i].Gate, bound[i].Lateral);
        }
        bounds.push_back(recorded);
    }
};

}  // namespace zuvo::settings::test
