// Stored areas and monitoring points: reading them into the view, appending and deleting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingAreaView.h"
#include "settings/AreaStore.h"
#include "settings/SettingsFile.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace zuvo::settings {
namespace {

using test::RecordingAreaView;
using zuvo::test::ReadWholeFile;
using zuvo::test::TempFolder;
using zuvo::test::WriteWholeFile;

class AreaStoreTest : public ::testing::Test {
protected:
    // Loads a settings file holding the elements inside <AppConfig>.
    void LoadElements(const std::string& elements) {
        WriteWholeFile(folder / "appConfig.xml", "<AppConfig>" + elements + "</AppConfig>");
        ASSERT_EQ(LoadDocument(document, Folder()), SettingsSource::File);
    }
    const wchar_t* Folder() const { return programFolder.c_str(); }
    std::string FileText() const { return ReadWholeFile(folder / "appConfig.xml"); }

    TempFolder folder;
    std::wstring programFolder = folder.Path().wstring();
    XMLParser document;
    // A 600 x 300 sector rectangle somewhere in the view: only its size matters.
    RecordingAreaView view{ZRect{40, 25, 640, 325}};
};

TEST_F(AreaStoreTest, PolygonsNeedThreeReadablePoints) {
    LoadElements(
        "<AlgorithmArea Points=\"10,20; 30,40; 50,60; \"/>"
        "<AlgorithmArea Points=\"10,20; 30,40; \"/>"
        "<AlgorithmArea Points=\"10,20; 7; 30,40; 1,2,3; 4,,5; x,1; 50,60\"/>"
        "<AlgorithmArea/>");
    LoadAreas(document, view);
    ASSERT_EQ(view.algorithmAreas.size(), 2u);
    const std::vector<int32_t> triangle{10, 20, 30, 40, 50, 60};
    EXPECT_EQ(view.algorithmAreas[0].points, triangle);
    EXPECT_EQ(view.algorithmAreas[1].points, triangle) << "malformed pieces take no slot";
}

TEST_F(AreaStoreTest, ColoursDefaultPerAttribute) {
    LoadElements(
        "<MonitorArea Points=\"1,1; 2,2; 3,3; \"/>"
        "<MonitorArea InactiveColor=\"255\" ActiveColor=\"4294967295\" Points=\"1,1; 2,2; 3,3; \"/>"
        "<MonitorArea InactiveColor=\"-1\" ActiveColor=\"red\" Points=\"1,1; 2,2; 3,3; \"/>");
    LoadAreas(document, view);
    ASSERT_EQ(view.monitorAreas.size(), 3u);
    EXPECT_EQ(view.monitorAreas[0].inactiveColour, 0xFFFF00u);
    EXPECT_EQ(view.monitorAreas[0].activeColour, 0x0054DCu);
    EXPECT_EQ(view.monitorAreas[1].inactiveColour, 255u);
    EXPECT_EQ(view.monitorAreas[1].activeColour, 0xFFFFFFFFu);
    EXPECT_EQ(view.monitorAreas[2].inactiveColour, 0xFFFF00u);
    EXPECT_EQ(view.monitorAreas[2].activeColour, 0x0054DCu);
}

TEST_F(AreaStoreTest, PointsAreRescaledToTheCurrentSectorSize) {
    view.sectorRect = ZRect{0, 0, 300, 150};
    LoadElements(
        "<MonitorArea BoundSize=\"600,300\" Points=\"100,200; 299,599; -30,-61; \"/>"
        // A missing height keeps the current one.
        "<MonitorArea BoundSize=\"150\" Points=\"100,200; 10,10; 0,0; \"/>"
        // Sizes that are not positive count as the current size.
        "<MonitorArea BoundSize=\"0,-300\" Points=\"100,200; 10,10; 0,0; \"/>"
        "<MonitorArea BoundSize=\"-600,0\" Points=\"100,200; 10,10; 0,0; \"/>"
        // No size at all: the points are already in the current size.
        "<MonitorArea Points=\"100,200; 10,10; 0,0; \"/>");
    LoadAreas(document, view);
    ASSERT_EQ(view.monitorAreas.size(), 5u);
    // Row scales with the height, column with the width, truncating towards zero.
    EXPECT_EQ(view.monitorAreas[0].points, (std::vector<int32_t>{50, 100, 149, 299, -15, -30}));
    EXPECT_EQ(view.monitorAreas[1].points, (std::vector<int32_t>{100, 400, 10, 20, 0, 0}));
    EXPECT_EQ(view.monitorAreas[2].points, (std::vector<int32_t>{100, 200, 10, 10, 0, 0}));
    EXPECT_EQ(view.monitorAreas[3].points, (std::vector<int32_t>{100, 200, 10, 10, 0, 0}));
    EXPECT_EQ(view.monitorAreas[4].points, (std::vector<int32_t>{100, 200, 10, 10, 0, 0}));
}

TEST_F(AreaStoreTest, ExtremeValuesDoNotOverflow) {
    view.sectorRect = ZRect{0, 0, 2000000, 1000000};
    LoadElements("<MonitorArea BoundSize=\"1,1\" Points=\"2147483647,-2147483648; 1,1; 0,0\"/>");
    LoadAreas(document, view);
    ASSERT_EQ(view.monitorAreas.size(), 1u);
    EXPECT_EQ(view.monitorAreas[0].points,
              (std::vector<int32_t>{2147483647, -2147483647 - 1, 1000000, 2000000, 0, 0}));
}

TEST_F(AreaStoreTest, BoundariesAreRebuiltBeforeAreasInDocumentOrder) {
    LoadElements(
        "<monitorarea InactiveColor=\"1\" Points=\"1,1; 2,2; 3,3; \"/>"
        "<ALGORITHMAREA InactiveColor=\"2\" points=\"1,1; 2,2; 3,3; \"/>"
        "<MonitorArea InactiveColor=\"3\" Points=\"1,1; 2,2; 3,3; \"/>"
        "<AlgorithmArea InactiveColor=\"4\" Points=\"1,1; 2,2; 3,3; \"/>");
    LoadAreas(document, view);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"ClearAlgorithmAreas", "AddAlgorithmArea",
                                                    "AddAlgorithmArea", "ClearMonitorAreas",
                                                    "AddMonitorArea", "AddMonitorArea"}));
    EXPECT_EQ(view.algorithmAreas[0].inactiveColour, 2u);
    EXPECT_EQ(view.algorithmAreas[1].inactiveColour, 4u);
    EXPECT_EQ(view.monitorAreas[0].inactiveColour, 1u);
    EXPECT_EQ(view.monitorAreas[1].inactiveColour, 3u);
}

TEST_F(AreaStoreTest, SavedAreasAreAppendedInTheirStoredForm) {
    LoadElements("<MonitorPoint Enable=\"1\"/>");
    const int32_t triangle[] = {10, 20, 30, 40, 50, 60};
    const int32_t square[] = {0, 0, 0, -5, 5, -5, 5, 0};
    ASSERT_TRUE(SaveMonitorArea(document, Folder(), view, triangle, 3, 16776960, 21724));
    ASSERT_TRUE(SaveAlgorithmArea(document, Folder(), view, square, 4, 255, 4294967295u));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig>\n"
              "\t<MonitorPoint Enable=\"1\" />\n"
              "\t<MonitorArea InactiveColor=\"16776960\" ActiveColor=\"21724\" "
              "BoundSize=\"600,300\" Points=\"10,20; 30,40; 50,60; \" />\n"
              "\t<AlgorithmArea InactiveColor=\"255\" ActiveColor=\"4294967295\" "
              "BoundSize=\"600,300\" Points=\"0,0; 0,-5; 5,-5; 5,0; \" />\n"
              "</AppConfig>\n");

    // Read back on a view of half the size.
    RecordingAreaView smaller{ZRect{0, 0, 300, 150}};
    XMLParser reread;
    LoadDocument(reread, Folder());
    LoadAreas(reread, smaller);
    ASSERT_EQ(smaller.monitorAreas.size(), 1u);
    EXPECT_EQ(smaller.monitorAreas[0].points, (std::vector<int32_t>{5, 10, 15, 20, 25, 30}));
    ASSERT_EQ(smaller.algorithmAreas.size(), 1u);
    EXPECT_EQ(smaller.algorithmAreas[0].points, (std::vector<int32_t>{0, 0, 0, -2, 2, -2, 2, 0}));
    EXPECT_EQ(smaller.algorithmAreas[0].activeColour, 4294967295u);
}

TEST_F(AreaStoreTest, PolygonsOfFewerThanThreePointsAreNotStored) {
    LoadElements("");
    const std::string before = FileText();
    const int32_t line[] = {1, 2, 3, 4};
    EXPECT_FALSE(SaveMonitorArea(document, Folder(), view, line, 2, 1, 2));
    EXPECT_FALSE(SaveAlgorithmArea(document, Folder(), view, nullptr, 3, 1, 2));
    EXPECT_EQ(FileText(), before);
    EXPECT_TRUE(document.GetRootNode().GetChildren("MonitorArea").empty());
}

TEST_F(AreaStoreTest, DeletingOneKindKeepsEverythingElse) {
    LoadElements(
        "<MonitorArea Points=\"1,1; 2,2; 3,3; \"/>"
        "<AlgorithmArea Points=\"4,4; 5,5; 6,6; \"/>"
        "<monitorAREA Points=\"7,7; 8,8; 9,9; \"><Note/></monitorAREA>"
        "<MonitorPoint Enable=\"1\" Position=\"1.5,0; \"/>"
        "<MonitorArea/>");
    ASSERT_TRUE(DeleteStoredMonitorAreas(document, Folder()));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig>\n"
              "\t<AlgorithmArea Points=\"4,4; 5,5; 6,6; \" />\n"
              "\t<MonitorPoint Enable=\"1\" Position=\"1.5,0; \" />\n"
              "</AppConfig>\n");

    ASSERT_TRUE(DeleteStoredAlgorithmAreas(document, Folder()));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig>\n"
              "\t<MonitorPoint Enable=\"1\" Position=\"1.5,0; \" />\n"
              "</AppConfig>\n");
}

TEST_F(AreaStoreTest, MonitoringPointLabelsRestartInEveryElement) {
    LoadElements(
        "<MonitorPoint Enable=\"1\" Position=\"1.5,0; 3,-20; \"/>"
        "<MonitorPoint Enable=\"0\" Position=\"9,9; \"/>"
        "<MonitorPoint Position=\"9,9; \"/>"
        "<MonitorPoint Enable=\"1\"/>"
        "<MonitorPoint Enable=\"1\" Position=\"2; ; 9\"/>"
        "<monitorpoint enable=\"2\" InactiveColor=\"1\" ActiveColor=\"2\" TextColor=\"255\" "
        "RadiusScale=\"2.5\" position=\"4,-90; 5.25,-135.5\"/>");
    LoadMonitorPoints(document, view);
    EXPECT_EQ(view.calls.front(), "ClearMonitorPoints");
    ASSERT_EQ(view.points.size(), 4u);

    EXPECT_EQ(view.points[0].distance, 1.5);
    EXPECT_EQ(view.points[0].angle, 0.0);
    EXPECT_EQ(view.points[0].label, L"1");
    EXPECT_EQ(view.points[0].size, 1.0);
    EXPECT_EQ(view.points[0].inactiveColour, 0xFFFF00u);
    EXPECT_EQ(view.points[0].activeColour, 0x0054DCu);
    EXPECT_EQ(view.points[0].labelColour, 0xFFFFFFu);
    EXPECT_EQ(view.points[1].distance, 3.0);
    EXPECT_EQ(view.points[1].angle, -20.0);
    EXPECT_EQ(view.points[1].label, L"2");

    EXPECT_EQ(view.points[2].label, L"1");
    EXPECT_EQ(view.points[2].distance, 4.0);
    EXPECT_EQ(view.points[2].angle, -90.0);
    EXPECT_EQ(view.points[2].size, 2.5);
    EXPECT_EQ(view.points[2].inactiveColour, 1u);
    EXPECT_EQ(view.points[2].activeColour, 2u);
    EXPECT_EQ(view.points[2].labelColour, 255u);
    EXPECT_EQ(view.points[3].label, L"2");
    EXPECT_EQ(view.points[3].distance, 5.25);
    EXPECT_EQ(view.points[3].angle, -135.5);
    EXPECT_EQ(view.points[3].labelColour, 255u);
}

}  // namespace
}  // namespace zuvo::settings
