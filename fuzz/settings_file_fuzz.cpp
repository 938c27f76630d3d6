// "appConfig.xml" as the program reads it at start-up: the document, every value of the
// settings record, the monitoring areas and points, and the detection bounds handed to the
// radar library; then the document written back. The round trip must hold: loading what was
// written gives the same values, and writing it again gives the same bytes.
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "settings/AppConfig.h"
#include "settings/AreaStore.h"
#include "settings/DetectBounds.h"
#include "settings/LanguageSetting.h"
#include "settings/SettingsFile.h"
#include "settings/XMLParser.h"

namespace {

using namespace zuvo::settings;
using zuvo::fuzz::Check;

struct Area {
    std::vector<int32_t> points;
    uint32_t inactiveColour;
    uint32_t activeColour;
    bool operator==(const Area&) const = default;
};

struct Point {
    double distance;
    double angle;
    double size;
    std::wstring label;
    uint32_t inactiveColour;
    uint32_t activeColour;
    uint32_t labelColour;
    bool operator==(const Point& other) const {
        // NaN is a value a file can hold; it must come back as NaN.
        return Same(distance, other.distance) && Same(angle, other.angle) &&
               Same(size, other.size) && label == other.label &&
               inactiveColour == other.inactiveColour && activeColour == other.activeColour &&
               labelColour == other.labelColour;
    }
    static bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }
};

// The sector view as the stored areas see it, with the view's slot limit.
class AreaView : public IAreaView {
public:
    ZRect GetSectorRect() const override { return ZRect{0, 0, 640, 320}; }
    void ClearAlgorithmAreas() override { algorithmAreas.clear(); }
    int AddAlgorithmArea(const int32_t* pairs, int count, uint32_t inactive,
                         uint32_t active) override {
        return Add(algorithmAreas, pairs, count, inactive, active);
    }
    void ClearMonitorAreas() override { monitorAreas.clear(); }
    int AddMonitorArea(const int32_t* pairs, int count, uint32_t inactive,
                       uint32_t active) override {
        return Add(monitorAreas, pairs, count, inactive, active);
    }
    void ClearMonitorPoints() override { points.clear(); }
    void AddMonitorPoint(double distance, double angle, double size, const wchar_t* label,
                         uint32_t inactive, uint32_t active, uint32_t labelColour) override {
        Check(label != nullptr, "a monitoring point without a label");
        points.push_back({distance, angle, size, label, inactive, active, labelColour});
    }
    bool GetAlgorithmArea(int slot, std::vector<int32_t>& pairs) const override {
        if (slot < 0 || static_cast<size_t>(slot) >= algorithmAreas.size()) {
            return false;
        }
        pairs = algorithmAreas[static_cast<size_t>(slot)].points;
        return true;
    }

    std::vector<Area> algorithmAreas;
    std::vector<Area> monitorAreas;
    std::vector<Point> points;

private:
    static int Add(std::vector<Area>& areas, const int32_t* pairs, int count, uint32_t inactive,
                   uint32_t active) {
        Check(pairs != nullptr && count >= 3, "an area of fewer than three points");
        if (areas.size() >= static_cast<size_t>(kAreaSlotCount)) {
            return -1;
        }
        areas.push_back({{pairs, pairs + 2 * count}, inactive, active});
        return static_cast<int>(areas.size()) - 1;
    }
};

struct BoundSink : IDetectBoundSink {
    void ClearModBounds() override { mod.clear(); }
    void ClearMttBounds() override { mtt.clear(); }
    void AddModBound(const DetectBoundPoint* bound, int count) override { Add(mod, bound, count); }
    void AddMttBound(const DetectBoundPoint* bound, int count) override { Add(mtt, bound, count); }
    static void Add(std::vector<int32_t>& to, const DetectBoundPoint* bound, int count) {
        Check(bound != nullptr && count > 0, "an empty detection bound");
        for (int i = 0; i < count; ++i) {
            Check(bound[i].Gate >= 0 && bound[i].Gate < 32, "a gate outside the bound grid");
            Check(bound[i].Lateral >= -32 && bound[i].Lateral < 32, "a lateral off the grid");
            to.push_back(bound[i].Gate);
            to.push_back(bound[i].Lateral);
        }
        to.push_back(INT32_MIN);  // end of one bound
    }
    std::vector<int32_t> mod;
    std::vector<int32_t> mtt;
};

// Everything the program takes from the settings file.
struct Loaded {
    AppConfig record;
    std::wstring language;
    std::wstring playbackFolder;
    AreaView view;
    BoundSink bounds;
};

bool SameRecord(const AppConfig& a, const AppConfig& b) {
    return a.SaveData == b.SaveData && std::wcscmp(a.SaveDataPath, b.SaveDataPath) == 0 &&
           a.ObjectCountType == b.ObjectCountType &&
           a.ObjectWnd_TopViewMode == b.ObjectWnd_TopViewMode &&
           a.ObjectWnd_DrawLocus == b.ObjectWnd_DrawLocus &&
           a.ObjectWnd_AngleStart == b.ObjectWnd_AngleStart &&
           a.ObjectWnd_AngleStop == b.ObjectWnd_AngleStop &&
           a.ObjectWnd_AngleStep == b.ObjectWnd_AngleStep &&
           a.ObjectWnd_SectorCount == b.ObjectWnd_SectorCount &&
           Point::Same(a.ObjectWnd_GateMin, b.ObjectWnd_GateMin) &&
           Point::Same(a.ObjectWnd_GateMax, b.ObjectWnd_GateMax) &&
           Point::Same(a.ObjectWnd_RadiusScale, b.ObjectWnd_RadiusScale) &&
           Point::Same(a.ObjectWnd_LocusRadiusScale, b.ObjectWnd_LocusRadiusScale) &&
           a.ObjectWnd_DisplayTime == b.ObjectWnd_DisplayTime &&
           a.ObjectWnd_SmoothCount == b.ObjectWnd_SmoothCount &&
           a.AlgorithmAreaEnable == b.AlgorithmAreaEnable;
}

// A raw-data folder outside the run folder would be created wherever the input points: such a
// value is replaced before the record is loaded. Every attribute of that name is looked at,
// since the first one in any case is the one read.
void KeepRecordingFolderInside(XMLParser& document) {
    pugi::xml_node root = document.GetRootNode().Node();
    for (pugi::xml_attribute attribute = root.first_attribute(); attribute;
         attribute = attribute.next_attribute()) {
        if (!NamesMatch(attribute.name(), "SaveDataPath")) {
            continue;
        }
        const std::string value = attribute.value();
        if (value.find("..") != std::string::npos || value.find(':') != std::string::npos ||
            (!value.empty() && (value.front() == '/' || value.front() == '\\'))) {
            attribute.set_value("SaveData");
        }
    }
}

void Load(XMLParser& document, const std::wstring& folder, Loaded& loaded) {
    LoadDocument(document, folder.c_str());
    KeepRecordingFolderInside(document);
    SetDefaultSaveDataPath(loaded.record, folder.c_str());
    tagRADARPARAMETER radar{};
    radar.GateCount = 32;
    radar.BoundGateLimit = 32;
    radar.DefaultGateMin = 0;
    radar.DefaultGateMax = 31;
    SetDefaultGateRange(loaded.record, radar);
    LoadSettings(document, folder.c_str(), loaded.record);
    loaded.language = ReadLanguageLocale(document);
    Check(loaded.language.size() <= kMaxLocaleNameLength, "a locale name longer than allowed");
    loaded.playbackFolder = ReadPlaybackFolder(document);
    LoadAreas(document, loaded.view);
    LoadMonitorPoints(document, loaded.view);
    ApplyDetectBounds(loaded.view, loaded.bounds, loaded.record, radar);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zuvo::fuzz::ClearRunFolder();
    const std::filesystem::path folderPath = zuvo::fuzz::RunFolder() / "program";
    std::filesystem::create_directory(folderPath);
    const std::wstring folder = zuvo::fuzz::Wide(folderPath);
    const std::filesystem::path file = folderPath / "appConfig.xml";
    zuvo::fuzz::WriteBytes(file, data, size);

    XMLParser first;
    Loaded before;
    Load(first, folder, before);
    // What the program writes at the end of a run, and writes after every change.
    Check(SaveRecordingSettings(first, folder.c_str(), before.record),
          "the settings could not be saved");
    const std::string written = zuvo::fuzz::ReadBytes(file);

    XMLParser second;
    Loaded after;
    Load(second, folder, after);
    Check(SameRecord(before.record, after.record), "the settings changed across a save");
    Check(before.language == after.language, "the language changed across a save");
    Check(before.playbackFolder == after.playbackFolder,
          "the playback folder changed across a save");
    Check(before.view.algorithmAreas == after.view.algorithmAreas,
          "the detection boundaries changed across a save");
    Check(before.view.monitorAreas == after.view.monitorAreas,
          "the monitoring areas changed across a save");
    Check(before.view.points == after.view.points, "the monitoring points changed across a save");
    Check(before.bounds.mod == after.bounds.mod && before.bounds.mtt == after.bounds.mtt,
          "the detection bounds changed across a save");
    Check(before.bounds.mod == before.bounds.mtt, "the two filters got different bounds");

    Check(SaveDocument(second, folder.c_str()), "the settings could not be saved again");
    Check(zuvo::fuzz::ReadBytes(file) == written, "a second save wrote other bytes");
    return 0;
}
