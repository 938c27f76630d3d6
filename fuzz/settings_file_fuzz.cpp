// "appConfig.xml" as the program reads it at start-up: the document, every value of the
// settings record, the monitoring areas and points, and the detection bounds handed to the
// radar library; then the document written back. The round trip must hold: loading what was
// written gives the same values, and writing it again gives the same bytes.
#include <algorithm>
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
#include "tests/settings/RecordingAreaView.h"

namespace {

using namespace zuvo::settings;
using zuvo::fuzz::Check;

bool SameReal(double a, double b) {
    // NaN is a value a file can hold; it must come back as NaN.
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

bool SameAreas(const std::vector<test::RecordedArea>& a, const std::vector<test::RecordedArea>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.points == y.points && x.inactiveColour == y.inactiveColour &&
               x.activeColour == y.activeColour;
    });
}

bool SamePoints(const std::vector<test::RecordedPoint>& a,
                const std::vector<test::RecordedPoint>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return SameReal(x.distance, y.distance) && SameReal(x.angle, y.angle) &&
               SameReal(x.size, y.size) && x.label == y.label &&
               x.inactiveColour == y.inactiveColour && x.activeColour == y.activeColour &&
               x.labelColour == y.labelColour;
    });
}

// The sector view as the stored areas see it: its detection boundaries are the ones loaded.
class AreaView : public test::RecordingAreaView {
public:
    AreaView() : RecordingAreaView(ZRect{0, 0, 640, 320}) {}
    bool GetAlgorithmArea(int slot, std::vector<int32_t>& pairs) const override {
        if (slot < 0 || slot >= kAreaSlotCount ||
            static_cast<size_t>(slot) >= algorithmAreas.size()) {
            return false;
        }
        pairs = algorithmAreas[static_cast<size_t>(slot)].points;
        return true;
    }
};

// Everything the program takes from the settings file.
struct Loaded {
    AppConfig record;
    std::wstring language;
    std::wstring playbackFolder;
    AreaView view;
    test::RecordingBoundSink bounds;
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
           SameReal(a.ObjectWnd_GateMin, b.ObjectWnd_GateMin) &&
           SameReal(a.ObjectWnd_GateMax, b.ObjectWnd_GateMax) &&
           SameReal(a.ObjectWnd_RadiusScale, b.ObjectWnd_RadiusScale) &&
           SameReal(a.ObjectWnd_LocusRadiusScale, b.ObjectWnd_LocusRadiusScale) &&
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
    Check(SameAreas(before.view.algorithmAreas, after.view.algorithmAreas),
          "the detection boundaries changed across a save");
    Check(SameAreas(before.view.monitorAreas, after.view.monitorAreas),
          "the monitoring areas changed across a save");
    Check(SamePoints(before.view.points, after.view.points),
          "the monitoring points changed across a save");
    Check(before.bounds.bounds == after.bounds.bounds,
          "the detection bounds changed across a save");
    for (const test::RecordedBound& bound : before.bounds.bounds) {
        Check(bound.points.size() >= 3, "a detection bound of fewer than three points");
        for (const auto& [gate, lateral] : bound.points) {
            Check(gate >= 0 && gate < 32 && lateral >= -32 && lateral < 32,
                  "a detection bound off the bound grid");
        }
    }

    Check(SaveDocument(second, folder.c_str()), "the settings could not be saved again");
    Check(zuvo::fuzz::ReadBytes(file) == written, "a second save wrote other bytes");
    return 0;
}
