// The settings file: loading, the settings record, and writing the file back byte for byte.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/AppConfig.h"
#include "settings/SettingsFile.h"
#include "settings/XMLParser.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WholeFile.h"

namespace zuvo::settings {
namespace {

using zuvo::test::ReadWholeFile;
using zuvo::test::TempFolder;
using zuvo::test::WriteWholeFile;

constexpr char kEmptyFile[] = "<?xml version=\"1.0\"?>\n<AppConfig />\n";

class SettingsFileTest : public ::testing::Test {
protected:
    std::filesystem::path SettingsPath() const { return folder / "appConfig.xml"; }
    std::string FileText() const { return ReadWholeFile(SettingsPath()); }
    const wchar_t* Folder() const { return programFolder.c_str(); }

    // Starts the program on a settings file holding text: the document, then the record with
    // its defaults.
    SettingsSource Start(const std::string& text) {
        WriteWholeFile(SettingsPath(), text);
        return Start();
    }
    SettingsSource Start() {
        const SettingsSource source = LoadDocument(document, Folder());
        SetDefaultSaveDataPath(record, Folder());
        LoadSettings(document, Folder(), record);
        return source;
    }

    TempFolder folder;
    std::wstring programFolder = folder.Path().wstring();
    XMLParser document;
    AppConfig record;
};

TEST_F(SettingsFileTest, FirstStartWritesAnEmptySettingsElementAndKeepsEveryDefault) {
    EXPECT_EQ(Start(), SettingsSource::NoFile);

    EXPECT_EQ(FileText(), kEmptyFile);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "SaveData"));
    EXPECT_FALSE(std::filesystem::exists(folder / "appConfig.xml.tmp"));
    const AppConfig defaults;
    EXPECT_EQ(record.SaveData, 0);
    EXPECT_EQ(std::wstring(record.SaveDataPath), (folder / "SaveData").wstring());
    EXPECT_EQ(record.ObjectCountType, 1);
    EXPECT_EQ(record.ObjectWnd_TopViewMode, 1);
    EXPECT_EQ(record.ObjectWnd_DrawLocus, 1);
    EXPECT_EQ(record.ObjectWnd_AngleStart, -150);
    EXPECT_EQ(record.ObjectWnd_AngleStop, -30);
    EXPECT_EQ(record.ObjectWnd_AngleStep, 10);
    EXPECT_EQ(record.ObjectWnd_SectorCount, 20);
    EXPECT_EQ(record.ObjectWnd_RadiusScale, 1.0);
    EXPECT_EQ(record.ObjectWnd_LocusRadiusScale, 0.5);
    EXPECT_EQ(record.ObjectWnd_DisplayTime, 2000);
    EXPECT_EQ(record.ObjectWnd_SmoothCount, 3);
    EXPECT_EQ(record.AlgorithmAreaEnable, 0);
    EXPECT_EQ(record.ObjectWnd_GateMin, defaults.ObjectWnd_GateMin);
}

TEST_F(SettingsFileTest, GateRangeDefaultsComeFromTheRadarConfiguration) {
    tagRADARPARAMETER radar{};
    radar.DefaultGateMin = 2;
    radar.DefaultGateMax = 27;
    SetDefaultGateRange(record, radar);
    Start("<AppConfig ObjectWnd_GateMin=\"\"/>");
    EXPECT_EQ(record.ObjectWnd_GateMin, 2.0);
    EXPECT_EQ(record.ObjectWnd_GateMax, 27.0);
}

TEST_F(SettingsFileTest, EveryAttributeReachesItsField) {
    Start(
        "<AppConfig SaveData=\"7\" ObjectCountType=\"3\" ObjectWnd_TopViewMode=\"0\" "
        "ObjectWnd_DrawLocus=\"0\" ObjectWnd_AngleStart=\"-200\" ObjectWnd_AngleStop=\"-10\" "
        "ObjectWnd_AngleStep=\"15\" ObjectWnd_SectorCount=\"8\" ObjectWnd_GateMin=\"1.5\" "
        "ObjectWnd_GateMax=\"30\" ObjectWnd_RadiusScale=\"2.25\" "
        "ObjectWnd_LocusRadiusScale=\"0.75\" ObjectWnd_DisplayTime=\"5000\" "
        "ObjectWnd_SmoothCount=\"300\" AlgorithmAreaEnable=\"1\"/>");
    EXPECT_EQ(record.SaveData, 7);
    EXPECT_EQ(record.ObjectCountType, 3);
    EXPECT_EQ(record.ObjectWnd_TopViewMode, 0);
    EXPECT_EQ(record.ObjectWnd_DrawLocus, 0);
    // Held as read; the view applies its own limits.
    EXPECT_EQ(record.ObjectWnd_AngleStart, -200);
    EXPECT_EQ(record.ObjectWnd_AngleStop, -10);
    EXPECT_EQ(record.ObjectWnd_AngleStep, 15);
    EXPECT_EQ(record.ObjectWnd_SectorCount, 8);
    EXPECT_EQ(record.ObjectWnd_GateMin, 1.5);
    EXPECT_EQ(record.ObjectWnd_GateMax, 30.0);
    EXPECT_EQ(record.ObjectWnd_RadiusScale, 2.25);
    EXPECT_EQ(record.ObjectWnd_LocusRadiusScale, 0.75);
    EXPECT_EQ(record.ObjectWnd_DisplayTime, 5000);
    EXPECT_EQ(record.ObjectWnd_SmoothCount, 300);
    EXPECT_EQ(record.AlgorithmAreaEnable, 1);
    // Reading changes nothing in the file.
    EXPECT_NE(FileText().find("ObjectWnd_SmoothCount=\"300\""), std::string::npos);
}

TEST_F(SettingsFileTest, ValuesThatDoNotParseOrAreEmptyKeepTheDefaults) {
    Start(
        "<AppConfig ObjectWnd_AngleStart=\"\" ObjectWnd_AngleStop=\"-30x\" "
        "ObjectWnd_SectorCount=\"99999999999\" ObjectWnd_RadiusScale=\"big\" SaveData=\" \"/>");
    const AppConfig defaults;
    EXPECT_EQ(record.ObjectWnd_AngleStart, defaults.ObjectWnd_AngleStart);
    EXPECT_EQ(record.ObjectWnd_AngleStop, defaults.ObjectWnd_AngleStop);
    EXPECT_EQ(record.ObjectWnd_SectorCount, defaults.ObjectWnd_SectorCount);
    EXPECT_EQ(record.ObjectWnd_RadiusScale, defaults.ObjectWnd_RadiusScale);
    EXPECT_EQ(record.SaveData, defaults.SaveData);
}

TEST_F(SettingsFileTest, OnlySingleAndMultiObjectTrackingAreAccepted) {
    Start("<AppConfig ObjectCountType=\"2\"/>");
    EXPECT_EQ(record.ObjectCountType, 1);

    record.ObjectCountType = 3;
    LoadSettings(document, Folder(), record);
    EXPECT_EQ(record.ObjectCountType, 3) << "a refused value leaves the running mode";

    XMLParser multi;
    const std::string text = "<AppConfig ObjectCountType=\"3\"/>";
    multi.LoadFromData(text.data(), text.size());
    AppConfig fresh;
    LoadSettings(multi, Folder(), fresh);
    EXPECT_EQ(fresh.ObjectCountType, 3);
}

TEST_F(SettingsFileTest, NamesAreMatchedWithoutRegardToCaseAndTheFirstElementWins) {
    Start(
        "<appconfig objectcounttype=\"3\" OBJECTWND_ANGLESTEP=\"5\" ObjectWnd_AngleStep=\"7\"/>\n"
        "<AppConfig ObjectCountType=\"1\" ObjectWnd_SectorCount=\"4\"/>\n");
    EXPECT_EQ(record.ObjectCountType, 3);
    EXPECT_EQ(record.ObjectWnd_AngleStep, 5);
    EXPECT_EQ(record.ObjectWnd_SectorCount, 20) << "the second settings element is not read";

    ASSERT_TRUE(SaveGateRange(document, Folder(), 2.0, 12.5));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<appconfig objectcounttype=\"3\" OBJECTWND_ANGLESTEP=\"5\" "
              "ObjectWnd_AngleStep=\"7\" ObjectWnd_GateMin=\"2.0\" ObjectWnd_GateMax=\"12.5\" />\n"
              "<AppConfig ObjectCountType=\"1\" ObjectWnd_SectorCount=\"4\" />\n");
}

TEST_F(SettingsFileTest, GateRangeRoundTripsWithOneDecimal) {
    Start();
    ASSERT_TRUE(SaveGateRange(document, Folder(), 0.25, 12.5));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig ObjectWnd_GateMin=\"0.2\" ObjectWnd_GateMax=\"12.5\" />\n");

    XMLParser reread;
    AppConfig again;
    LoadDocument(reread, Folder());
    LoadSettings(reread, Folder(), again);
    EXPECT_EQ(again.ObjectWnd_GateMin, 0.2);
    EXPECT_EQ(again.ObjectWnd_GateMax, 12.5);

    // A second save replaces the values in place.
    ASSERT_TRUE(SaveGateRange(document, Folder(), 3.0, 31.0));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig ObjectWnd_GateMin=\"3.0\" ObjectWnd_GateMax=\"31.0\" />\n");
}

// The view's additions are switches of their own: saved without touching what else the file
// holds (an unknown attribute and an area included), read back, off in a file without them.
TEST_F(SettingsFileTest, TheViewAdditionsKeepEverythingElseOfTheFile) {
    Start(
        "<?xml version=\"1.0\"?>\n<AppConfig Future=\"x\" ObjectCountType=\"3\">\n"
        "\t<MonitorArea BoundSize=\"10,10\" Points=\"1,1; 1,5; 5,5; \"/>\n</AppConfig>\n");
    EXPECT_EQ(record.ShowAreaStatistics, 0);
    EXPECT_EQ(record.ShowHeatMap, 0);
    record.ShowAreaStatistics = 1;
    record.ShowHeatMap = 1;
    ASSERT_TRUE(SaveViewAdditions(document, Folder(), record));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n<AppConfig Future=\"x\" ObjectCountType=\"3\" "
              "ShowAreaStatistics=\"1\" ShowRunHealth=\"0\" ShowHeatMap=\"1\">\n"
              "\t<MonitorArea BoundSize=\"10,10\" Points=\"1,1; 1,5; 5,5; \" />\n</AppConfig>\n");
    XMLParser reread;
    AppConfig again;
    LoadDocument(reread, Folder());
    LoadSettings(reread, Folder(), again);
    EXPECT_EQ(again.ShowAreaStatistics, 1);
    EXPECT_EQ(again.ShowRunHealth, 0);
    EXPECT_EQ(again.ShowHeatMap, 1);
    record.ShowAreaStatistics = 0;
    ASSERT_TRUE(SaveViewAdditions(document, Folder(), record));
    EXPECT_NE(FileText().find("ShowAreaStatistics=\"0\""), std::string::npos);
}

TEST_F(SettingsFileTest, RealsAreNeverCutShort) {
    Start();
    ASSERT_TRUE(SaveGateRange(document, Folder(), -0.04, 1e20));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig ObjectWnd_GateMin=\"-0.0\" "
              "ObjectWnd_GateMax=\"100000000000000000000.0\" />\n");
}

TEST_F(SettingsFileTest, AnExistingDeclarationIsWrittenBackUnchanged) {
    Start(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<!-- edited by hand -->\r\n"
        "<AppConfig SaveData=\"0\">\r\n"
        "</AppConfig>\r\n");
    record.SaveData = 1;
    ASSERT_TRUE(SaveRecordingSettings(document, Folder(), record));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "<!-- edited by hand -->\n"
              "<AppConfig SaveData=\"1\" SaveDataPath=\"SaveData\" />\n");
}

TEST_F(SettingsFileTest, RecordingSettingsAreStoredRelativeToTheProgramFolder) {
    Start("<AppConfig savedata=\"0\" Other=\"kept &amp; escaped\"><Child/></AppConfig>");
    record.SaveData = 1;
    ASSERT_TRUE(SaveRecordingSettings(document, Folder(), record));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig savedata=\"1\" Other=\"kept &amp; escaped\" SaveDataPath=\"SaveData\">\n"
              "\t<Child />\n"
              "</AppConfig>\n");

    AppConfig again;
    XMLParser reread;
    LoadDocument(reread, Folder());
    LoadSettings(reread, Folder(), again);
    EXPECT_EQ(again.SaveData, 1);
    EXPECT_EQ(std::wstring(again.SaveDataPath), (folder / "SaveData").wstring());
}

TEST_F(SettingsFileTest, StoredRecordingFoldersAreResolvedAndCreated) {
    Start("<AppConfig SaveDataPath=\"records/../Raw Data/./today\"/>");
    EXPECT_EQ(std::wstring(record.SaveDataPath), (folder / "Raw Data" / "today").wstring());
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Raw Data" / "today"));

    // A folder outside the program folder is stored as it is.
    const std::filesystem::path outside =
        folder / ".." / (folder.Path().filename().string() + "-x");
    const std::wstring outsideText = std::filesystem::weakly_canonical(outside).wstring();
    SetSaveDataPath(record, outsideText);
    ASSERT_TRUE(SaveRecordingSettings(document, Folder(), record));
    const std::string expected = "SaveDataPath=\"" + std::filesystem::path(outsideText).string();
    EXPECT_NE(FileText().find(expected + "\""), std::string::npos) << FileText();
    std::filesystem::remove_all(outside);
}

TEST_F(SettingsFileTest, AFolderThatDoesNotConvertIsNotOverwritten) {
    // Bytes that are not text in the narrow code page: the folder cannot be used, and the
    // stored value survives the next save rather than being replaced by nothing.
    Start("<AppConfig SaveDataPath=\"\xff\xfe\"/>");
    EXPECT_EQ(std::wstring(record.SaveDataPath), L"");
    ASSERT_TRUE(SaveRecordingSettings(document, Folder(), record));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig SaveDataPath=\"\xff\xfe\" SaveData=\"0\" />\n");
}

TEST_F(SettingsFileTest, ProgramFoldersWithAnyCharactersWork) {
    // std::filesystem converts wide text with the C locale here, so the wide forms are built
    // by hand.
    const std::filesystem::path unusual = folder / "设置 Ω";
    std::filesystem::create_directory(unusual);
    const std::wstring unusualFolder = programFolder + L"/设置 Ω";
    WriteWholeFile(unusual / "appConfig.xml", "<AppConfig SaveDataPath=\"数据\"/>");

    XMLParser unusualDocument;
    AppConfig unusualRecord;
    EXPECT_EQ(LoadDocument(unusualDocument, unusualFolder.c_str()), SettingsSource::File);
    LoadSettings(unusualDocument, unusualFolder.c_str(), unusualRecord);
    EXPECT_EQ(std::wstring(unusualRecord.SaveDataPath), unusualFolder + L"/数据");
    EXPECT_TRUE(std::filesystem::is_directory(unusual / "数据"));

    unusualRecord.SaveData = 1;
    ASSERT_TRUE(SaveRecordingSettings(unusualDocument, unusualFolder.c_str(), unusualRecord));
    EXPECT_EQ(ReadWholeFile(unusual / "appConfig.xml"),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig SaveDataPath=\"数据\" SaveData=\"1\" />\n");
}

TEST_F(SettingsFileTest, EveryUnicodeEncodingIsRead) {
    const std::u16string text = u"<AppConfig ObjectWnd_SectorCount=\"12\" DataFilePath=\"回放\"/>";
    std::string littleEndian = "\xff\xfe";
    std::string bigEndian = "\xfe\xff";
    for (char16_t unit : text) {
        littleEndian.push_back(static_cast<char>(unit & 0xff));
        littleEndian.push_back(static_cast<char>(unit >> 8));
        bigEndian.push_back(static_cast<char>(unit >> 8));
        bigEndian.push_back(static_cast<char>(unit & 0xff));
    }
    const std::string utf8WithMark =
        "\xef\xbb\xbf<AppConfig ObjectWnd_SectorCount=\"12\" DataFilePath=\"回放\"/>";
    for (const std::string& bytes : {littleEndian, bigEndian, utf8WithMark}) {
        XMLParser parsed;
        WriteWholeFile(SettingsPath(), bytes);
        EXPECT_EQ(LoadDocument(parsed, Folder()), SettingsSource::File);
        AppConfig read;
        LoadSettings(parsed, Folder(), read);
        EXPECT_EQ(read.ObjectWnd_SectorCount, 12);
        EXPECT_EQ(ReadPlaybackFolder(parsed), L"回放");
    }
}

TEST_F(SettingsFileTest, PlaybackFolderRoundTrips) {
    Start();
    EXPECT_EQ(ReadPlaybackFolder(document), L"");
    const std::wstring chosen = programFolder + L"/回放 1";
    ASSERT_TRUE(SavePlaybackFolder(document, Folder(), chosen.c_str()));
    XMLParser reread;
    LoadDocument(reread, Folder());
    EXPECT_EQ(ReadPlaybackFolder(reread), chosen);

    // A folder that cannot be written as narrow text leaves the stored one.
    const wchar_t unpaired[] = {L'a', static_cast<wchar_t>(0xD800), L'\0'};
    EXPECT_FALSE(SavePlaybackFolder(document, Folder(), unpaired));
    EXPECT_EQ(ReadPlaybackFolder(document), chosen);
}

TEST_F(SettingsFileTest, ADamagedFileIsKeptBesideAndWhatWasReadStays) {
    const std::string damaged =
        "<AppConfig SaveData=\"1\" ObjectWnd_SectorCount=\"9\">\n"
        "\t<MonitorArea Points=\"1,2; 3,4; 5,6; \" />\n"
        "\t<MonitorArea Points=\"7,8; ";
    EXPECT_EQ(Start(damaged), SettingsSource::DamagedFile);
    EXPECT_EQ(ReadWholeFile(folder / "appConfig.xml.bak"), damaged);
    EXPECT_EQ(record.SaveData, 1);
    EXPECT_EQ(record.ObjectWnd_SectorCount, 9);
    EXPECT_EQ(FileText(), damaged) << "a settings element was read, so loading writes nothing";

    // The element being read when the file ended stays with what it had so far.
    ASSERT_TRUE(SaveDocument(document, Folder()));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig SaveData=\"1\" ObjectWnd_SectorCount=\"9\">\n"
              "\t<MonitorArea Points=\"1,2; 3,4; 5,6; \" />\n"
              "\t<MonitorArea Points=\"7,8; \" />\n"
              "</AppConfig>\n");
}

// A UTF-32 file may hold a code unit that is no character (beyond U+10FFFF). An element named
// only by one was written back as "< />", which no parser reads: the next start found the file
// damaged and lost the settings element after it.
TEST_F(SettingsFileTest, TextThatIsNoCharacterSurvivesASave) {
    const auto utf32 = [](const std::string& ascii) {
        std::string out;
        for (const char ch : ascii) {
            out += std::string{ch, '\0', '\0', '\0'};  // little-endian
        }
        return out;
    };
    const std::string file =
        utf32("<") + "sion" + utf32("/>\n<AppConfig SaveData=\"1\" />\n");  // 0x6E6F6973
    EXPECT_EQ(Start(file), SettingsSource::File);
    EXPECT_EQ(record.SaveData, 1);
    ASSERT_TRUE(SaveDocument(document, Folder()));

    XMLParser restarted;
    AppConfig again;
    EXPECT_EQ(LoadDocument(restarted, Folder()), SettingsSource::File);
    LoadSettings(restarted, Folder(), again);
    EXPECT_EQ(again.SaveData, 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "appConfig.xml.bak"));
}

TEST_F(SettingsFileTest, AFileWithoutSettingsIsRewrittenAfterItWasKept) {
    const std::string garbage = std::string("\x01\x02 not xml at all", 18);
    EXPECT_EQ(Start(garbage), SettingsSource::DamagedFile);
    EXPECT_EQ(ReadWholeFile(folder / "appConfig.xml.bak"), garbage);
    EXPECT_EQ(FileText(), kEmptyFile);

    // Valid XML without a settings element gains one; nothing was damaged.
    XMLParser other;
    WriteWholeFile(SettingsPath(), "<Other a=\"1\"/>");
    EXPECT_EQ(LoadDocument(other, Folder()), SettingsSource::File);
    EXPECT_EQ(FileText(), "<?xml version=\"1.0\"?>\n<Other a=\"1\" />\n<AppConfig />\n");
}

TEST_F(SettingsFileTest, AnEmptyFileCountsAsNoFile) {
    EXPECT_EQ(Start(""), SettingsSource::NoFile);
    EXPECT_EQ(FileText(), kEmptyFile);
    EXPECT_FALSE(std::filesystem::exists(folder / "appConfig.xml.bak"));
}

// A save that fails leaves the previous file exactly as it was, and no temporary behind.
TEST_F(SettingsFileTest, AFailedSaveKeepsThePreviousFile) {
    const std::string previous = "<AppConfig SaveData=\"1\" />";
    Start(previous);
    record.SaveData = 0;

    // No temporary can be created: folders stand under every name it could take.
    std::vector<std::filesystem::path> obstacles{folder / "appConfig.xml.tmp"};
    for (int i = 1; i < 64; ++i) {
        obstacles.push_back(folder / ("appConfig.xml." + std::to_string(i) + ".tmp"));
    }
    for (const std::filesystem::path& obstacle : obstacles) {
        std::filesystem::create_directory(obstacle);
    }
    EXPECT_FALSE(SaveRecordingSettings(document, Folder(), record));
    EXPECT_EQ(FileText(), previous);
    for (const std::filesystem::path& obstacle : obstacles) {
        std::filesystem::remove(obstacle);
    }

    // The disk fills up while writing.
    std::filesystem::create_symlink("/dev/full", folder / "appConfig.xml.tmp");
    EXPECT_FALSE(SaveDocument(document, Folder()));
    EXPECT_EQ(FileText(), previous);
    EXPECT_FALSE(
        std::filesystem::exists(std::filesystem::symlink_status(folder / "appConfig.xml.tmp")));

    // The replacement itself fails: the target is a folder.
    const TempFolder other;
    std::filesystem::create_directory(other / "appConfig.xml");
    std::filesystem::create_directory(other / "appConfig.xml" / "inside");
    EXPECT_FALSE(SaveDocument(document, other.Path().wstring().c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(other / "appConfig.xml" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(other / "appConfig.xml.tmp"));

    // Once the way is clear, the document (still authoritative) is written.
    EXPECT_TRUE(SaveDocument(document, Folder()));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n<AppConfig SaveData=\"0\" SaveDataPath=\"SaveData\" />\n");
}

// The raw-data folder is created at every start, so one named like the save's temporary file
// stood in its way for good: every later save failed, across restarts.
TEST_F(SettingsFileTest, ARawDataFolderNamedLikeTheTemporaryFileDoesNotStopSaving) {
    Start("<AppConfig SaveDataPath=\"appConfig.xml.tmp\" />");
    ASSERT_TRUE(std::filesystem::is_directory(folder / "appConfig.xml.tmp"));

    record.SaveData = 1;
    EXPECT_TRUE(SaveRecordingSettings(document, Folder(), record));
    EXPECT_EQ(FileText(),
              "<?xml version=\"1.0\"?>\n"
              "<AppConfig SaveDataPath=\"appConfig.xml.tmp\" SaveData=\"1\" />\n");

    // After a restart the folder is there again, and saving still works.
    XMLParser restarted;
    AppConfig again;
    LoadDocument(restarted, Folder());
    SetDefaultSaveDataPath(again, Folder());
    LoadSettings(restarted, Folder(), again);
    EXPECT_EQ(again.SaveData, 1);
    EXPECT_TRUE(SaveGateRange(restarted, Folder(), 2.0, 9.5));
    EXPECT_NE(FileText().find("ObjectWnd_GateMax=\"9.5\""), std::string::npos);

    // Nothing is left behind but the file and the raw-data folder.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"appConfig.xml", "appConfig.xml.tmp"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "appConfig.xml.tmp"));
}

// The program shows no message for a failed save; the diagnostic line is where it is told.
TEST_F(SettingsFileTest, AFailedSaveIsReported) {
    Start("<AppConfig SaveData=\"1\" />");
    const std::wstring missing = programFolder + L"/no such folder";

    testing::internal::CaptureStderr();
    const bool saved = SaveDocument(document, missing.c_str());
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(saved);
    EXPECT_NE(reported.find("appConfig.xml: the settings could not be saved"), std::string::npos)
        << reported;

    testing::internal::CaptureStderr();
    EXPECT_TRUE(SaveDocument(document, Folder()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a save that worked is not reported";
}

TEST_F(SettingsFileTest, TooLongAProgramFolderWritesNothing) {
    const std::wstring longFolder = programFolder + L"/" + std::wstring(300, L'x');
    XMLParser empty;
    EXPECT_EQ(LoadDocument(empty, longFolder.c_str()), SettingsSource::NoFile);
    EXPECT_FALSE(empty.GetRootNode().IsEmpty()) << "the document still gains its element";
    EXPECT_FALSE(SaveDocument(empty, longFolder.c_str()));
}

}  // namespace
}  // namespace zuvo::settings
