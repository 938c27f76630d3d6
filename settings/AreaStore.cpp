#include "settings/AreaStore.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ZUVO_CommonCore.h"
#include "settings/SettingsFile.h"

namespace zuvo::settings {

namespace {

constexpr char kMonitorAreaName[] = "MonitorArea";
constexpr char kAlgorithmAreaName[] = "AlgorithmArea";
constexpr char kMonitorPointName[] = "MonitorPoint";

struct SectorSize {
    int32_t width;
    int32_t height;
};

SectorSize SizeOf(const ZRect& rect) {
    return SectorSize{rect.right - rect.left, rect.bottom - rect.top};
}

// All pairs of a pair-list attribute: counted first, then read into an array of that size.
template <typename Value>
std::vector<Value> ReadPairs(const XMLNode& element, const char* name, int typeCode) {
    const int pairs = element.GetAttributeArray(name, typeCode, nullptr, 0);
    std::vector<Value> values(static_cast<size_t>(pairs) * 2);
    if (pairs > 0) {
        values.resize(
            static_cast<size_t>(element.GetAttributeArray(name, typeCode, values.data(), pairs)) *
            2);
    }
    return values;
}

// value x current / reference, truncated towards zero. A reference that is not positive would
// divide by zero or mirror the polygon; the caller replaces it by the current size first.
int32_t Rescale(int32_t value, int32_t current, int32_t reference) {
    if (reference <= 0) {
        return value;
    }
    const int64_t scaled = static_cast<int64_t>(value) * current / reference;
    return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

struct StoredPolygon {
    std::vector<int32_t> points;  // (row, column) pairs, rescaled to the current size
    uint32_t inactiveColour = kDefaultInactiveColour;
    uint32_t activeColour = kDefaultActiveColour;
};

// False when the element holds fewer than three readable points.
bool ReadPolygon(const XMLNode& element, SectorSize current, StoredPolygon& polygon) {
    element.GetAttributeValue("InactiveColor", DIGITAL_TYPE_UINT32, &polygon.inactiveColour);
    element.GetAttributeValue("ActiveColor", DIGITAL_TYPE_UINT32, &polygon.activeColour);

    // A missing second number keeps the current height.
    int32_t reference[2] = {current.width, current.height};
    if (const char* text = element.GetAttributeText("BoundSize")) {
        ParseDigitalArrayValue(text, -1, ",", 1, 0, DIGITAL_TYPE_INT32, reference, 2);
    }
    const int32_t referenceWidth = reference[0] > 0 ? reference[0] : current.width;
    const int32_t referenceHeight = reference[1] > 0 ? reference[1] : current.height;

    polygon.points = ReadPairs<int32_t>(element, "Points", DIGITAL_TYPE_INT32);
    if (polygon.points.size() < 6) {
        return false;
    }
    for (size_t i = 0; i < polygon.points.size(); i += 2) {
        polygon.points[i] = Rescale(polygon.points[i], current.height, referenceHeight);
        polygon.points[i + 1] = Rescale(polygon.points[i + 1], current.width, referenceWidth);
    }
    return true;
}

template <typename Add>
void LoadPolygons(const XMLNode& root, const char* name, SectorSize current, Add add) {
    for (const XMLNode& element : root.GetChildren(name)) {
        StoredPolygon polygon;
        if (ReadPolygon(element, current, polygon)) {
            add(polygon);
        }
    }
}

bool SaveArea(XMLParser& document, const wchar_t* programFolder, const IAreaView& view,
              const char* name, const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
              uint32_t activeColour) {
    if (rowColumnPairs == nullptr || count < 3) {
        return false;
    }
    const SectorSize current = SizeOf(view.GetSectorRect());
    const std::string boundSize =
        std::to_string(current.width) + "," + std::to_string(current.height);
    std::string points;
    for (int i = 0; i < count; ++i) {
        points += std::to_string(rowColumnPairs[2 * i]) + "," +
                  std::to_string(rowColumnPairs[2 * i + 1]) + "; ";
    }

    XMLNode element = EnsureRootNode(document).AppendChild(name);
    element.SetAttribute("InactiveColor", std::to_string(inactiveColour).c_str());
    element.SetAttribute("ActiveColor", std::to_string(activeColour).c_str());
    element.SetAttribute("BoundSize", boundSize.c_str());
    element.SetAttribute("Points", points.c_str());
    return SaveDocument(document, programFolder);
}

bool DeleteAreas(XMLParser& document, const wchar_t* programFolder, const char* name) {
    XMLNode root = document.GetRootNode();
    for (const XMLNode& element : root.GetChildren(name)) {
        root.RemoveChild(element);
    }
    return SaveDocument(document, programFolder);
}

}  // namespace

void LoadAreas(const XMLParser& document, IAreaView& view) {
    const SectorSize current = SizeOf(view.GetSectorRect());
    const XMLNode root = document.GetRootNode();

    view.ClearAlgorithmAreas();
    LoadPolygons(root, kAlgorithmAreaName, current, [&view](const StoredPolygon& polygon) {
        view.AddAlgorithmArea(polygon.points.data(), static_cast<int>(polygon.points.size() / 2),
                              polygon.inactiveColour, polygon.activeColour);
    });
    view.ClearMonitorAreas();
    LoadPolygons(root, kMonitorAreaName, current, [&view](const StoredPolygon& polygon) {
        view.AddMonitorArea(polygon.points.data(), static_cast<int>(polygon.points.size() / 2),
                            polygon.inactiveColour, polygon.activeColour);
    });
}

void LoadMonitorPoints(const XMLParser& document, IAreaView& view) {
    view.ClearMonitorPoints();
    for (const XMLNode& element : document.GetRootNode().GetChildren(kMonitorPointName)) {
        int32_t enabled = 0;
        element.GetAttributeValue("Enable", DIGITAL_TYPE_FLAG, &enabled);
        if (enabled == 0) {
            continue;
        }
        uint32_t inactiveColour = kDefaultInactiveColour;
        uint32_t activeColour = kDefaultActiveColour;
        uint32_t labelColour = kDefaultLabelColour;
        double size = 1.0;
        element.GetAttributeValue("InactiveColor", DIGITAL_TYPE_UINT32, &inactiveColour);
        element.GetAttributeValue("ActiveColor", DIGITAL_TYPE_UINT32, &activeColour);
        element.GetAttributeValue("TextColor", DIGITAL_TYPE_UINT32, &labelColour);
        element.GetAttributeValue("RadiusScale", DIGITAL_TYPE_DOUBLE, &size);
        const std::vector<double> positions =
            ReadPairs<double>(element, "Position", DIGITAL_TYPE_DOUBLE);
        for (size_t i = 0; i < positions.size() / 2; ++i) {
            const std::wstring label = std::to_wstring(i + 1);
            view.AddMonitorPoint(positions[2 * i], positions[2 * i + 1], size, label.c_str(),
                                 inactiveColour, activeColour, labelColour);
        }
    }
}

bool SaveMonitorArea(XMLParser& document, const wchar_t* programFolder, const IAreaView& view,
                     const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                     uint32_t activeColour) {
    return SaveArea(document, programFolder, view, kMonitorAreaName, rowColumnPairs, count,
                    inactiveColour, activeColour);
}

bool SaveAlgorithmArea(XMLParser& document, const wchar_t* programFolder, const IAreaView& view,
                       const int32_t* rowColumnPairs, int count, uint32_t inactiveColour,
                       uint32_t activeColour) {
    return SaveArea(document, programFolder, view, kAlgorithmAreaName, rowColumnPairs, count,
                    inactiveColour, activeColour);
}

bool DeleteStoredMonitorAreas(XMLParser& document, const wchar_t* programFolder) {
    return DeleteAreas(document, programFolder, kMonitorAreaName);
}

bool DeleteStoredAlgorithmAreas(XMLParser& document, const wchar_t* programFolder) {
    return DeleteAreas(document, programFolder, kAlgorithmAreaName);
}

}  // namespace zuvo::settings
