// Detection boundaries converted into the radar library's detection bounds.
#include <gtest/gtest.h>

#include <cstddef>
#include <ostream>
#include <utility>
#include <vector>

#include "RecordingAreaView.h"
#include "settings/DetectBounds.h"

namespace zuvo::settings {
namespace {

using Bound = std::vector<std::pair<int32_t, int32_t>>;
using test::RecordedBound;
using test::RecordingAreaView;
using test::RecordingBoundSink;

Bound Convert(std::vector<int32_t> pairs, int32_t width, int32_t height, bool top, int gates,
              int limit) {
    Bound result;
    for (const DetectBoundPoint& point : ToDetectBound(
             pairs.data(), static_cast<int>(pairs.size() / 2), width, height, top, gates, limit)) {
        result.emplace_back(point.Gate, point.Lateral);
    }
    return result;
}

struct ConversionCase {
    const char* name;
    std::vector<int32_t> pairs;  // (row, column)
    int32_t width;
    int32_t height;
    bool topViewMode;
    int gateCount;
    int boundGateLimit;
    Bound expected;  // (gate, lateral)
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << "points";
    for (size_t i = 0; i + 1 < c.pairs.size(); i += 2) {
        *os << " (" << c.pairs[i] << ", " << c.pairs[i + 1] << ")";
    }
    *os << " in " << c.width << " x " << c.height
        << (c.topViewMode ? ", top view, " : ", bottom view, ") << c.gateCount
        << " gates, bound limit " << c.boundGateLimit;
}

class DetectBoundConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(DetectBoundConversion, GivesTheLibrarysGrid) {
    const ConversionCase& c = GetParam();
    EXPECT_EQ(Convert(c.pairs, c.width, c.height, c.topViewMode, c.gateCount, c.boundGateLimit),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectBoundConversion,
    ::testing::Values(
        // The middle of the fan and the bottom-left corner, sensor at the top edge.
        ConversionCase{"TopEdge",
                       {150, 300, 299, 0, 0, 599},
                       600,
                       300,
                       true,
                       32,
                       32,
                       {{16, 0}, {31, -32}, {0, 31}}},
        // Sensor at the bottom edge: gates count from the other side of the bound grid.
        ConversionCase{"BottomEdge",
                       {150, 300, 299, 0, 0, 599},
                       600,
                       300,
                       false,
                       32,
                       32,
                       {{16, 0}, {0, -32}, {31, 31}}},
        // Halves round away from zero, also below zero: -31.5 gives -32, -30.5 gives -31.
        ConversionCase{"HalvesAwayFromZero",
                       {1, 1, 3, 3, 1, 127},
                       128,
                       64,
                       true,
                       32,
                       64,
                       {{1, -32}, {2, -31}, {1, 32}}},
        // A bound grid smaller than the gate count clamps both ways.
        ConversionCase{"SmallGrid",
                       {299, 599, 0, 0, 100, 300},
                       600,
                       300,
                       true,
                       32,
                       16,
                       {{15, 15}, {0, -16}, {11, 0}}},
        ConversionCase{
            "SmallGridBottom", {0, 0, 299, 300}, 600, 300, false, 32, 16, {{15, -16}, {0, 0}}},
        // Points outside the rectangle (the drawing allows it) are clamped, not wrapped.
        ConversionCase{"Outside",
                       {-2147483647 - 1, 2147483647, 2147483647, -2147483647 - 1},
                       600,
                       300,
                       true,
                       32,
                       32,
                       {{0, 31}, {31, -32}}},
        // A rectangle without area converts to nothing rather than dividing by zero.
        ConversionCase{"NoArea", {150, 300, 1, 1, 2, 2}, 0, 300, true, 32, 32, {}}),
    [](const ::testing::TestParamInfo<ConversionCase>& param) { return param.param.name; });

TEST(DetectBounds, BothFiltersGetEveryBoundaryInSlotOrder) {
    RecordingAreaView view{ZRect{100, 50, 700, 350}};
    view.boundarySlots[0] = {150, 300, 299, 0, 0, 599};
    view.boundarySlots[7] = {0, 0, 299, 599, 150, 0};
    view.boundarySlots[31] = {10, 10, 20, 20, 30, 30};
    AppConfig settings;
    tagRADARPARAMETER radar{};
    radar.GateCount = 32;
    radar.BoundGateLimit = 32;

    RecordingBoundSink sink;
    ApplyDetectBounds(view, sink, settings, radar);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"ClearMod", "ClearMtt", "AddMOD", "AddMTT",
                                                    "AddMOD", "AddMTT", "AddMOD", "AddMTT"}));
    const Bound first{{16, 0}, {31, -32}, {0, 31}};
    const Bound second{{0, -32}, {31, 31}, {16, -32}};
    const Bound third{{1, -31}, {2, -30}, {3, -29}};
    EXPECT_EQ(sink.bounds, (std::vector<RecordedBound>{{"MOD", first},
                                                       {"MTT", first},
                                                       {"MOD", second},
                                                       {"MTT", second},
                                                       {"MOD", third},
                                                       {"MTT", third}}));

    // The orientation comes from the settings.
    settings.ObjectWnd_TopViewMode = 0;
    RecordingBoundSink bottom;
    ApplyDetectBounds(view, bottom, settings, radar);
    ASSERT_EQ(bottom.bounds.size(), 6u);
    EXPECT_EQ(bottom.bounds[0].points, (Bound{{16, 0}, {0, -32}, {31, 31}}));
}

TEST(DetectBounds, WithoutBoundariesTheFiltersAreOnlyCleared) {
    RecordingAreaView view{ZRect{0, 0, 600, 300}};
    AppConfig settings;
    tagRADARPARAMETER radar{};
    radar.GateCount = 32;
    radar.BoundGateLimit = 32;
    RecordingBoundSink sink;
    ApplyDetectBounds(view, sink, settings, radar);
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"ClearMod", "ClearMtt"}));

    // Nor are boundaries handed on while the view has no size yet.
    view.boundarySlots[0] = {1, 1, 2, 2, 3, 3};
    view.sectorRect = ZRect{0, 0, 0, 0};
    RecordingBoundSink empty;
    ApplyDetectBounds(view, empty, settings, radar);
    EXPECT_EQ(empty.calls, (std::vector<std::string>{"ClearMod", "ClearMtt"}));
}

}  // namespace
}  // namespace zuvo::settings
