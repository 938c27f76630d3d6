// Recording a live run and playing it back through the library's flat interface: the same
// objects come out again, and a damaged copy plays back what is intact.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "RawDataFormat.h"
#include "CraftedDamage.h"
#include "PlaybackRuns.h"
#include "TestSupport.h"
#include "ZUVO_DataProcess.h"
#include "ZUVO_DataProcessExtras.h"

namespace zuvo::test {
namespace {

bool SameObject(const RadarObject& a, const RadarObject& b) {
    return a.Id == b.Id && a.GateDistance == b.GateDistance && a.Distance == b.Distance &&
           a.Velocity == b.Velocity && a.Angle == b.Angle && a.Reserved1 == b.Reserved1 &&
           a.Reserved2 == b.Reserved2;
}

bool SameDelivery(const Delivery& a, const Delivery& b) {
    return a.value == b.value && a.objects.size() == b.objects.size() &&
           std::equal(a.objects.begin(), a.objects.end(), b.objects.begin(), SameObject);
}

int64_t Entries(const std::vector<Delivery>& deliveries) {
    int64_t entries = 0;
    for (const Delivery& d : deliveries) {
        entries += static_cast<int64_t>(d.objects.size());
    }
    return entries;
}

// Records a live emulator run of the given length into a new folder inside parent, in the
// program's order of calls; answers the live deliveries and the recording folder.
std::vector<Delivery> RecordLive(const TempFolder& parent, int site, int milliseconds,
                                 std::filesystem::path& recording) {
    ZUVO_Interface_RadarParameter_Init(&gRadarParameter);
    gRadarParameter.SourceType = RADAR_SOURCE_EMULATOR;
    gRadarParameter.ProcessSite = site;
    gRadarParameter.SaveRawData = 1;
    SetPath(gRadarParameter.DataPath, parent.Wide());
    CollectingListener live;
    EXPECT_EQ(AddListener(site, &live), 1);
    CBaseStringA error;
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ZUVO_Interface_RadarCtrl_EnableProcessFilter_ObjectDetect(
        site == RADAR_PROCESS_SITE_SENSOR ? 0 : 1);
    if (site == RADAR_PROCESS_SITE_SENSOR) {
        RADAR_DEVICE_HANDLE device = ZUVO_Interface_RadarDevice_GetDefault();
        ZUVO_Interface_RadarCtrl_Pause();
        EXPECT_EQ(ZUVO_Interface_RadarDevice_StartCmdMode(device, 1, 3000), 1);
        EXPECT_EQ(ZUVO_Interface_RadarDevice_Protocol_SendCommand(
                      device, RADAR_CMD_TRACK_SINGLE, nullptr, 0, CheckCmdAckData_RetCode, 0, 2000),
                  1);
        ZUVO_Interface_RadarDevice_StopCmdMode(device);
        ZUVO_Interface_RadarCtrl_Resume();
    }
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Start(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Stop(), 1);
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_CloseDevice(), 1);
    RemoveListener(site, &live);
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(parent.Path())) {
        folders.push_back(entry.path());
    }
    EXPECT_EQ(folders.size(), 1u) << "one folder per start";
    recording = folders.empty() ? std::filesystem::path() : folders[0];
    return live.Deliveries();
}

// Frames recorded but still waiting when the live run stopped were never delivered live.
void ExpectSameDeliveries(const std::vector<Delivery>& live, const std::vector<Delivery>& played) {
    ASSERT_GE(played.size(), live.size());
    EXPECT_LE(played.size() - live.size(), 3u);
    for (size_t i = 0; i < live.size(); ++i) {
        ASSERT_TRUE(SameDelivery(live[i], played[i]))
            << "delivery " << i << " (frame " << live[i].value << ")";
    }
}

TEST(RecordPlayback, TenSecondsOfTheEmulatorPlayBackAsTheSameObjects) {
    TempFolder parent(u8"record10");
    const int64_t countBefore = ZUVO_Test_GetDeliveredEntryCount();
    std::filesystem::path recording;
    const std::vector<Delivery> live =
        RecordLive(parent, RADAR_PROCESS_SITE_HOST, 10000, recording);
    ASSERT_GE(live.size(), 180u) << "a delivery every 50 ms";
    EXPECT_GT(Entries(live), 150) << "people were tracked";
    EXPECT_TRUE(std::filesystem::exists(recording / "FILE_Radar_Config.ini"));
    const std::vector<Delivery> played = PlayBack(recording, RADAR_PROCESS_SITE_HOST);
    ExpectSameDeliveries(live, played);
    EXPECT_EQ(ZUVO_Test_GetDeliveredEntryCount() - countBefore, Entries(live) + Entries(played));
}

TEST(RecordPlayback, TheSensorsOwnSlotsPlayBackUnchanged) {
    TempFolder parent(u8"录像 sensor");
    std::filesystem::path recording;
    const std::vector<Delivery> live =
        RecordLive(parent, RADAR_PROCESS_SITE_SENSOR, 3000, recording);
    ASSERT_GE(live.size(), 50u);
    for (const Delivery& d : live) {
        ASSERT_EQ(d.objects.size(), 1u) << "one slot after 0x80";
    }
    ExpectSameDeliveries(live, PlayBack(recording, RADAR_PROCESS_SITE_SENSOR));
}

// Three damaged frames and a cut-off end: every intact frame is still delivered, the damage
// only costs its own frames.
TEST(RecordPlayback, ADamagedCopyPlaysBackWhatIsIntact) {
    TempFolder parent(u8"recorddamage");
    std::filesystem::path recording;
    RecordLive(parent, RADAR_PROCESS_SITE_HOST, 4000, recording);
    const std::vector<Delivery> intact = PlayBack(recording, RADAR_PROCESS_SITE_HOST);
    ASSERT_GE(intact.size(), 60u);

    TempFolder copies(u8"damagedcopy");
    const std::filesystem::path damaged = copies.Path() / "copy";
    std::filesystem::copy(recording, damaged);
    const std::filesystem::path raw = damaged / "RawData_0001.zrd";
    std::string bytes = ReadWholeFile(raw);
    std::vector<size_t> starts;
    for (size_t at = radar::kRawFileHeaderSize; at < bytes.size();) {
        radar::RadarFrame frame;
        size_t size = 0;
        ASSERT_EQ(radar::DecodeFrame(reinterpret_cast<const uint8_t*>(bytes.data()) + at,
                                     bytes.size() - at, frame, size),
                  radar::FrameDecode::Ok);
        starts.push_back(at);
        at += size;
    }
    ASSERT_EQ(starts.size(), intact.size());
    const std::set<size_t> broken = {10, 11, 40};
    for (size_t frame : broken) {
        bytes[starts[frame] + 20] ^= 0x5A;
    }
    bytes.resize(starts.back() + 17);  // the last frame is cut off
    ASSERT_TRUE(WriteWholeFile(raw, bytes));
    const std::vector<Delivery> played = PlayBack(damaged, RADAR_PROCESS_SITE_HOST);
    std::vector<int64_t> expected;
    for (size_t i = 0; i + 1 < intact.size(); ++i) {
        if (broken.count(i) == 0) {
            expected.push_back(intact[i].value);
        }
    }
    std::vector<int64_t> values;
    for (const Delivery& d : played) {
        values.push_back(d.value);
    }
    EXPECT_EQ(values, expected);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(SameDelivery(played[i], intact[i])) << "before the damage nothing changes";
    }
}

// Stop ends a playback at once, whatever the file holds: here 48 MiB of sync words that each
// claim the largest frame, which the reader must scan for the next intact frame.
TEST(RecordPlayback, StopEndsThePlaybackOfCraftedDamageAtOnce) {
    TempFolder parent(u8"recordcrafted");
    std::filesystem::path recording;
    RecordLive(parent, RADAR_PROCESS_SITE_HOST, 500, recording);
    const std::filesystem::path raw = recording / "RawData_0001.zrd";
    std::string bytes = ReadWholeFile(raw).substr(0, radar::kRawFileHeaderSize);
    const std::vector<uint8_t> damage = CraftedFrameDamage(48 << 20, true);
    bytes.append(damage.begin(), damage.end());
    ASSERT_TRUE(WriteWholeFile(raw, bytes));

    ZUVO_Interface_RadarCtrl_LoadConfigFromFile(
        WidePath(recording / "FILE_Radar_Config.ini").c_str());
    gRadarParameter.ReadFromFile = 1;
    SetPath(gRadarParameter.DataPath, WidePath(recording));
    ZUVO_Interface_RadarDevice_File_SetLoopReadFile(0);
    CBaseStringA error;
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_OpenDevice(&error, 0), 1) << error.GetString();
    ASSERT_EQ(ZUVO_Interface_RadarCtrl_Start(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto stopping = std::chrono::steady_clock::now();
    EXPECT_EQ(ZUVO_Interface_RadarCtrl_Stop(), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::milliseconds(1500));
    ZUVO_Interface_RadarCtrl_CloseDevice();
}

}  // namespace
}  // namespace zuvo::test
