// The parameter record's INI file: defaults, tolerant reading, exact round trips and a save
// that never leaves half a file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "RadarConfigFile.h"
#include "TestSupport.h"

namespace zuvo::radar {
namespace {

tagRADARPARAMETER Defaults() {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    return record;
}

tagEMULATORSETTINGS EmulatorDefaults() {
    tagEMULATORSETTINGS settings;
    SetDefaultEmulatorSettings(settings);
    return settings;
}

bool SameRecord(const tagRADARPARAMETER& a, const tagRADARPARAMETER& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

bool SameEmulator(const tagEMULATORSETTINGS& a, const tagEMULATORSETTINGS& b) {
    return a.EmulatorSeed == b.EmulatorSeed && a.EmulatorPeople == b.EmulatorPeople &&
           a.EmulatorFixedReflector == b.EmulatorFixedReflector &&
           a.EmulatorNoise == b.EmulatorNoise && a.EmulatorMissRate == b.EmulatorMissRate &&
           a.EmulatorFalseAlarmRate == b.EmulatorFalseAlarmRate &&
           a.EmulatorScriptedPeople == b.EmulatorScriptedPeople &&
           a.EmulatorLeave1S == b.EmulatorLeave1S && a.EmulatorLeave2S == b.EmulatorLeave2S &&
           a.EmulatorLeave3S == b.EmulatorLeave3S && a.EmulatorObjects == b.EmulatorObjects &&
           a.EmulatorObjectLifeS == b.EmulatorObjectLifeS &&
           a.EmulatorDeliveryReportS == b.EmulatorDeliveryReportS;
}

TEST(RadarConfigFile, InstalledDefaultFileHoldsTheDefaultRecord) {
    const std::string text = zuvo::test::ReadWholeFile(ZUVO_DATAPROCESS_DEFAULT_INI);
    ASSERT_FALSE(text.empty());
    Configuration configuration{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseConfiguration(text, configuration, problems));
    EXPECT_TRUE(problems.empty()) << problems.front();
    const tagRADARPARAMETER& loaded = configuration.record;
    EXPECT_TRUE(SameRecord(loaded, Defaults()));
    ASSERT_TRUE(configuration.emulator.has_value()) << "the installed file has an [Emulator]";
    EXPECT_TRUE(SameEmulator(*configuration.emulator, EmulatorDefaults()));
    EXPECT_EQ(loaded.GateCount, 32);
    EXPECT_EQ(loaded.DefaultGateMax, 31);
    EXPECT_EQ(loaded.BoundGateLimit, 32);
    EXPECT_EQ(loaded.HostAlgorithm, 3);
    EXPECT_EQ(loaded.FramePeriodMs, 50);
}

TEST(RadarConfigFile, EveryFieldSurvivesARoundTripExactly) {
    tagRADARPARAMETER record = Defaults();
    record.ReadFromFile = 1;
    record.SourceType = 7;
    record.DeviceNumber = 12;
    record.SaveRawData = 1;
    std::wcscpy(record.DataPath, L"D:\\录像\\Run 1\\Ünïcode \U0001F600");
    record.ProcessSite = 10;
    record.HostAlgorithm = 0;
    record.SensorAlgorithm = 1;
    record.SensorAlgorithmCode = 30;
    record.HostProcessValue = 64;
    record.AlgorithmSelectFlag = -4000000000000ll;
    record.CmdModeParam = -7;
    record.RangeResolution = 0.1 + 0.2;  // not exactly representable in decimal
    record.RegisterCount = RADAR_MAX_REGISTERS;
    for (int i = 0; i < RADAR_MAX_REGISTERS; ++i) {
        record.Registers[i] = tagRADARREGISTER{static_cast<uint16_t>(0xFFFF - i), 0,
                                               0x80000000u + static_cast<uint32_t>(i)};
    }
    tagEMULATORSETTINGS emulator = EmulatorDefaults();
    emulator.EmulatorSeed = 4294967295u;
    emulator.EmulatorPeople = 5;
    emulator.EmulatorFixedReflector = 1;
    emulator.EmulatorNoise = 1.0 / 3.0;
    emulator.EmulatorMissRate = 1.0;
    emulator.EmulatorFalseAlarmRate = 0.0;
    emulator.EmulatorObjects = 100;
    emulator.EmulatorObjectLifeS = 0.1 + 0.2;
    emulator.EmulatorDeliveryReportS = 10;
    Configuration loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseConfiguration(RenderParameters(record, &emulator), loaded, problems));
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_TRUE(SameRecord(loaded.record, record));
    ASSERT_TRUE(loaded.emulator.has_value());
    EXPECT_TRUE(SameEmulator(*loaded.emulator, emulator));

    // The record alone is written without an [Emulator] section and read back without one.
    const std::string recordOnly = RenderParameters(record);
    EXPECT_EQ(recordOnly.find("Emulator"), std::string::npos) << recordOnly;
    ASSERT_TRUE(ParseConfiguration(recordOnly, loaded, problems));
    EXPECT_TRUE(SameRecord(loaded.record, record));
    EXPECT_FALSE(loaded.emulator.has_value());
}

// Reading trims the blanks around a value, and a path ends at its first zero character; a path
// the program hands over with blanks around it, or a file with a zero inside the path, must
// still read back as the record that was saved.
TEST(RadarConfigFile, PathsWithBlanksAroundOrAZeroSurviveASaveAndReload) {
    zuvo::test::TempFolder folder(u8"paths");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    for (const std::wstring& dataPath :
         {std::wstring(L" leading"), std::wstring(L"trailing "), std::wstring(L"\tboth ends\t"),
          std::wstring(L"\"in quotes\""), std::wstring(L" "), std::wstring(L"D:\\Day 1")}) {
        tagRADARPARAMETER record = Defaults();
        std::wmemset(record.DataPath, L'\0', ZUVO_MAX_PATH);
        std::wcscpy(record.DataPath, dataPath.c_str());
        std::string error;
        ASSERT_TRUE(SaveParameters(path, record, error)) << error;
        tagRADARPARAMETER loaded{};
        std::vector<std::string> problems;
        ASSERT_TRUE(LoadParameters(path, loaded, problems));
        EXPECT_EQ(std::wstring(loaded.DataPath), dataPath);
        EXPECT_TRUE(SameRecord(loaded, record));
    }

    // A zero inside the value: the record holds the path up to it and nothing after it, as a
    // save and reload would leave it.
    constexpr char kText[] = "DataPath = Rec\0orded\r\n";
    const std::string text(kText, sizeof(kText) - 1);
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseParameters(text, loaded, problems));
    tagRADARPARAMETER expected = Defaults();
    std::wmemset(expected.DataPath, L'\0', ZUVO_MAX_PATH);
    std::wcscpy(expected.DataPath, L"Rec");
    EXPECT_TRUE(SameRecord(loaded, expected));

    // Ordinary files read as before: blanks around a value are not part of it, and a path
    // without blanks around it is written as it is.
    ASSERT_TRUE(ParseParameters("DataPath =   SaveData\\Day 1  \r\n", loaded, problems));
    EXPECT_EQ(std::wstring(loaded.DataPath), L"SaveData\\Day 1");
    EXPECT_NE(RenderParameters(loaded).find("DataPath = SaveData\\Day 1\r\n"), std::string::npos);
}

TEST(RadarConfigFile, ReadingIsTolerant) {
    const std::string text =
        "\xEF\xBB\xBF; edited by hand\r\n"
        "[Range]\r\n"
        "gatecount = 64\r\n"          // any case
        "DefaultGateMax=63\n"         // no blanks, LF only
        "FramePeriodMs = fast\r\n"    // not a number: default kept
        "RangeResolution = -0.5\r\n"  // out of range: default kept
        "UnknownKey = 5\r\n"          // ignored
        "this line is nonsense\r\n"   // reported, skipped
        "[Emulator\r\n"               // broken header, reported
        "EmulatorPeople = 0x4\r\n"    // hexadecimal accepted
        "EmulatorMissRate = nan\r\n"  // not in 0..1: default kept
        "BaudRate = 115200\r\n";      // a key of earlier versions: ignored
    Configuration configuration{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseConfiguration(text, configuration, problems));
    const tagRADARPARAMETER& loaded = configuration.record;
    EXPECT_EQ(loaded.GateCount, 64);
    EXPECT_EQ(loaded.DefaultGateMax, 63);
    EXPECT_EQ(loaded.FramePeriodMs, Defaults().FramePeriodMs);
    EXPECT_EQ(loaded.RangeResolution, Defaults().RangeResolution);
    ASSERT_TRUE(configuration.emulator.has_value());
    EXPECT_EQ(configuration.emulator->EmulatorPeople, 4);
    EXPECT_EQ(configuration.emulator->EmulatorMissRate, EmulatorDefaults().EmulatorMissRate);
    EXPECT_EQ(configuration.emulator->EmulatorSeed, EmulatorDefaults().EmulatorSeed)
        << "keys the file does not name keep their defaults";
    ASSERT_EQ(problems.size(), 5u);
    EXPECT_NE(problems[0].find("line 8"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("line 9"), std::string::npos) << problems[1];
    EXPECT_NE(problems[3].find("line 5: FramePeriodMs"), std::string::npos) << problems[3];
    EXPECT_NE(problems[3].find("50 is kept"), std::string::npos) << problems[3];
}

TEST(RadarConfigFile, ABrokenRegisterTableKeepsTheDefaultTable) {
    const tagRADARPARAMETER defaults = Defaults();
    for (const char* text : {"RegisterCount = 2\nRegister00 = 0x10, 1\n",     // one missing
                             "RegisterCount = 1\nRegister00 = 0x10000, 1\n",  // address too big
                             "RegisterCount = 1\nRegister00 = 0x10, 1, 2\n",  // three numbers
                             "RegisterCount = 65\n"}) {                       // too many
        tagRADARPARAMETER loaded{};
        std::vector<std::string> problems;
        ASSERT_TRUE(ParseParameters(text, loaded, problems)) << text;
        EXPECT_EQ(problems.size(), 1u) << text;
        EXPECT_EQ(loaded.RegisterCount, defaults.RegisterCount) << text;
        EXPECT_EQ(std::memcmp(loaded.Registers, defaults.Registers, sizeof(loaded.Registers)), 0);
    }
}

TEST(RadarConfigFile, TextNamingNoFieldIsNotAConfiguration) {
    tagRADARPARAMETER record = Defaults();
    record.GateCount = 77;
    std::vector<std::string> problems;
    for (const char* text : {"", "[Section]\r\n; only a comment\r\n", "PK\x03\x04 binary junk"}) {
        EXPECT_FALSE(ParseParameters(text, record, problems)) << text;
        EXPECT_EQ(record.GateCount, 77);
    }
}

TEST(RadarConfigFile, DefaultGatesBeyondTheGateCountAreLimited) {
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(ParseParameters("GateCount = 16\nDefaultGateMin = 20\n", loaded, problems));
    EXPECT_EQ(loaded.DefaultGateMin, 15);
    EXPECT_EQ(loaded.DefaultGateMax, 15);
    EXPECT_EQ(problems.size(), 2u);
}

TEST(RadarConfigFile, LoadsUtf16FilesAndRefusesMissingOnes) {
    zuvo::test::TempFolder folder(u8"config16");
    const std::u16string text = u"\uFEFF[Source]\r\nDataPath = 数据\r\nGateCount = 48\r\n";
    ASSERT_TRUE(zuvo::test::WriteWholeFile(
        folder.Path() / "wide.ini",
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadParameters(folder.Wide(L"wide.ini"), loaded, problems));
    EXPECT_EQ(loaded.GateCount, 48);
    EXPECT_EQ(std::wstring(loaded.DataPath), L"数据");
    EXPECT_FALSE(LoadParameters(folder.Wide(L"missing.ini"), loaded, problems));
}

TEST(RadarConfigFile, SaveReplacesTheFileWhole) {
    zuvo::test::TempFolder folder(u8"save");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    tagRADARPARAMETER record = Defaults();
    std::string error;
    ASSERT_TRUE(SaveParameters(path, record, error)) << error;
    record.GateCount = 100;
    ASSERT_TRUE(SaveParameters(path, record, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Radar_Config.ini.tmp"));
    tagRADARPARAMETER loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadParameters(path, loaded, problems));
    EXPECT_TRUE(SameRecord(loaded, record));
}

// Saving a record (which holds no emulator settings) over a configuration keeps the file's
// [Emulator] section, so the parameter dialog's save does not lose them; a new file, such as a
// recording's, gets none.
TEST(RadarConfigFile, SavingARecordKeepsTheFilesEmulatorSettings) {
    zuvo::test::TempFolder folder(u8"saveemulator");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    tagRADARPARAMETER record = Defaults();
    std::string error;
    ASSERT_TRUE(SaveParameters(path, record, error)) << error;
    Configuration loaded{};
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadConfiguration(path, loaded, problems));
    EXPECT_FALSE(loaded.emulator.has_value()) << "a new file gets no [Emulator] section";

    ASSERT_TRUE(zuvo::test::WriteWholeFile(folder.Path() / "Radar_Config.ini",
                                           "GateCount = 40\r\n[Emulator]\r\nEmulatorPeople = 1\r\n"
                                           "EmulatorSeed = 77\r\nEmulatorNoise = 7\r\n"));
    record.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    ASSERT_TRUE(SaveParameters(path, record, error)) << error;
    ASSERT_TRUE(LoadConfiguration(path, loaded, problems));
    EXPECT_TRUE(SameRecord(loaded.record, record)) << "the record is the one saved";
    ASSERT_TRUE(loaded.emulator.has_value());
    tagEMULATORSETTINGS expected = EmulatorDefaults();
    expected.EmulatorPeople = 1;
    expected.EmulatorSeed = 77;  // the out-of-range noise was not kept, its default is written
    EXPECT_TRUE(SameEmulator(*loaded.emulator, expected));
}

TEST(RadarConfigFile, AFailedSaveLeavesTheOldFileUntouched) {
    zuvo::test::TempFolder folder(u8"savefail");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    std::string error;
    ASSERT_TRUE(SaveParameters(path, Defaults(), error));
    const std::string before = zuvo::test::ReadWholeFile(folder.Path() / "Radar_Config.ini");
    // Folders under every name the temporary file may take make the write fail.
    std::filesystem::create_directory(folder.Path() / "Radar_Config.ini.tmp");
    for (int i = 1; i < 8; ++i) {
        std::filesystem::create_directory(folder.Path() /
                                          ("Radar_Config.ini." + std::to_string(i) + ".tmp"));
    }
    tagRADARPARAMETER changed = Defaults();
    changed.GateCount = 99;
    EXPECT_FALSE(SaveParameters(path, changed, error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
    EXPECT_EQ(zuvo::test::ReadWholeFile(folder.Path() / "Radar_Config.ini"), before);
    EXPECT_FALSE(SaveParameters(folder.Wide(L"no such folder/x.ini"), changed, error));
}

// The raw-data folder may be named like the temporary file (it is created where the
// operator says): the save passes over it, and the folder is left alone.
TEST(RadarConfigFile, AFolderNamedLikeTheTemporaryFileDoesNotStopSaving) {
    zuvo::test::TempFolder folder(u8"savetmpfolder");
    const std::wstring path = folder.Wide(L"Radar_Config.ini");
    std::string error;
    ASSERT_TRUE(SaveParameters(path, Defaults(), error)) << error;
    std::filesystem::create_directory(folder.Path() / "Radar_Config.ini.tmp");
    std::filesystem::create_directory(folder.Path() / "Radar_Config.ini.1.tmp");
    tagRADARPARAMETER changed = Defaults();
    changed.GateCount = 99;
    ASSERT_TRUE(SaveParameters(path, changed, error)) << error;
    Configuration loaded;
    std::vector<std::string> problems;
    ASSERT_TRUE(LoadConfiguration(path, loaded, problems));
    EXPECT_EQ(loaded.record.GateCount, 99);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "Radar_Config.ini.tmp"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Radar_Config.ini.2.tmp"));
}

// Each case breaks one field of good; validate must refuse it and name the field.
template <typename Holder>
void ExpectEachRefused(bool (*validate)(const Holder&, std::string&), const Holder& good,
                       const std::vector<std::pair<const char*, void (*)(Holder&)>>& broken) {
    std::string problem;
    EXPECT_TRUE(validate(good, problem)) << problem;
    for (const auto& [field, breakIt] : broken) {
        Holder holder = good;
        breakIt(holder);
        EXPECT_FALSE(validate(holder, problem)) << field;
        EXPECT_NE(problem.find(field), std::string::npos) << problem;
    }
}

TEST(RadarConfigFile, ValidationRefusesRecordsTheProcessingCannotUse) {
    ExpectEachRefused<tagRADARPARAMETER>(
        ValidateParameters, Defaults(),
        {
            {"FramePeriodMs", [](tagRADARPARAMETER& r) { r.FramePeriodMs = 0; }},
            {"RangeResolution", [](tagRADARPARAMETER& r) { r.RangeResolution = 0.0; }},
            {"RangeResolution", [](tagRADARPARAMETER& r) { r.RangeResolution = std::nan(""); }},
            {"GateCount", [](tagRADARPARAMETER& r) { r.GateCount = -3; }},
            {"DataPath",
             [](tagRADARPARAMETER& r) { std::wmemset(r.DataPath, L'x', ZUVO_MAX_PATH); }},
            {"RegisterCount", [](tagRADARPARAMETER& r) { r.RegisterCount = 65; }},
        });
    ExpectEachRefused<tagEMULATORSETTINGS>(
        ValidateEmulatorSettings, EmulatorDefaults(),
        {
            {"EmulatorPeople", [](tagEMULATORSETTINGS& e) { e.EmulatorPeople = 50; }},
            {"EmulatorFixedReflector",
             [](tagEMULATORSETTINGS& e) { e.EmulatorFixedReflector = -1; }},
            {"EmulatorMissRate", [](tagEMULATORSETTINGS& e) { e.EmulatorMissRate = std::nan(""); }},
            {"EmulatorFalseAlarmRate",
             [](tagEMULATORSETTINGS& e) { e.EmulatorFalseAlarmRate = 11; }},
            {"EmulatorObjects", [](tagEMULATORSETTINGS& e) { e.EmulatorObjects = 101; }},
            {"EmulatorObjects", [](tagEMULATORSETTINGS& e) { e.EmulatorObjects = -1; }},
            {"EmulatorObjectLifeS",
             [](tagEMULATORSETTINGS& e) { e.EmulatorObjectLifeS = std::nan(""); }},
            {"EmulatorDeliveryReportS",
             [](tagEMULATORSETTINGS& e) { e.EmulatorDeliveryReportS = -10; }},
        });
}

}  // namespace
}  // namespace zuvo::radar
