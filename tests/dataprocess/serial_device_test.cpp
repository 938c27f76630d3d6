// The library's serial sensor device against the simulated sensor, over a line in memory: it
// identifies the sensor, takes command mode and the tracking-mode commands with their
// acknowledgements, queues the emulator's frames while a run lasts, and ends the run itself
// when the line goes away, keeping what arrived before, in the queue and in the recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "CommandAck.h"
#include "PlaybackDevice.h"
#include "RadarConfigFile.h"
#include "RawFileReader.h"
#include "SerialSensorDevice.h"
#include "SimulatedSensor.h"
#include "ZUVO_CommonCore.h"
#include "tests/support/TempFolder.h"

namespace zuvo::radar {
namespace {

// Both ends of a line: the device reads and writes the host end; a thread plays the sensor at
// the other, until the test hangs the line up or silences the sensor.
class MemoryLink {
public:
    explicit MemoryLink(int scriptedPeople) {
        tagEMULATORSETTINGS emulator;
        SetDefaultEmulatorSettings(emulator);
        emulator.EmulatorScriptedPeople = scriptedPeople;
        m_sensor = std::make_unique<sim::SimulatedSensor>(emulator, "memory sensor");
        m_thread = std::thread([this] { PlaySensor(); });
    }
    ~MemoryLink() {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_quit = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    class HostEnd : public SerialLine {
    public:
        explicit HostEnd(MemoryLink& link) : m_link(link) {}
        int Read(uint8_t* bytes, size_t capacity, uint32_t timeoutMs) override {
            std::unique_lock<std::mutex> hold(m_link.m_lock);
            m_link.m_changed.wait_for(hold, std::chrono::milliseconds(timeoutMs),
                                      [&] { return m_link.m_hungUp || !m_link.m_toHost.empty(); });
            // What came before the line went away is still read, as from a pseudo-terminal.
            if (m_link.m_hungUp && m_link.m_toHost.empty()) {
                return -1;
            }
            size_t n = 0;
            while (n < capacity && !m_link.m_toHost.empty()) {
                bytes[n++] = m_link.m_toHost.front();
                m_link.m_toHost.pop_front();
            }
            return static_cast<int>(n);
        }
        bool Write(const uint8_t* bytes, size_t size, uint32_t) override {
            {
                std::lock_guard<std::mutex> hold(m_link.m_lock);
                if (m_link.m_hungUp) {
                    return false;
                }
                m_link.m_toSensor.insert(m_link.m_toSensor.end(), bytes, bytes + size);
            }
            m_link.m_changed.notify_all();
            return true;
        }
        void Discard() override {
            std::lock_guard<std::mutex> hold(m_link.m_lock);
            m_link.m_toHost.clear();
        }

    private:
        MemoryLink& m_link;
    };

    std::unique_ptr<SerialLine> Host() { return std::make_unique<HostEnd>(*this); }
    void HangUp() {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_hungUp = true;
        }
        m_changed.notify_all();
    }
    // The sensor stays on the line but sends nothing more.
    void Silence() {
        std::lock_guard<std::mutex> hold(m_lock);
        m_silent = true;
    }
    uint32_t FramesSent() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_sensor->FramesSent();
    }
    std::vector<uint16_t> Commands() {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_sensor->Commands();
    }

private:
    void PlaySensor() {
        std::unique_lock<std::mutex> hold(m_lock);
        while (!m_quit) {
            m_changed.wait_for(hold, std::chrono::milliseconds(5));
            if (m_hungUp || m_silent) {
                continue;
            }
            std::vector<uint8_t> in(m_toSensor.begin(), m_toSensor.end());
            m_toSensor.clear();
            const uint32_t now = MS_GetTime();
            std::vector<uint8_t> out = m_sensor->Receive(in.data(), in.size(), now);
            const std::vector<uint8_t> frames = m_sensor->FramesDue(now);
            out.insert(out.end(), frames.begin(), frames.end());
            if (!out.empty()) {
                m_toHost.insert(m_toHost.end(), out.begin(), out.end());
                m_changed.notify_all();
            }
        }
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<uint8_t> m_toHost;
    std::deque<uint8_t> m_toSensor;
    bool m_hungUp = false;
    bool m_silent = false;
    bool m_quit = false;
    std::unique_ptr<sim::SimulatedSensor> m_sensor;
    std::thread m_thread;
};

tagRADARPARAMETER SensorTracking() {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    record.SourceType = RADAR_SOURCE_COM;
    record.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    return record;
}

// Pops frames until the queue ends or maxFrames came; the frames.
std::vector<RadarFrame> Drain(FrameQueue& queue, size_t maxFrames) {
    std::vector<RadarFrame> frames;
    RadarFrame frame;
    while (frames.size() < maxFrames && queue.Pop(frame)) {
        queue.FinishedFrame();
        frames.push_back(frame);
    }
    return frames;
}

TEST(SerialSensorDevice, IdentifiesTakesTheModeCommandAndStreamsTheEmulatorsObjects) {
    MemoryLink link(2);
    SerialSensorDevice device(link.Host(), SensorTracking());
    std::string error;
    EXPECT_EQ(device.Identify(error).value_or("(none: " + error + ")"), "memory sensor");

    // Outside command mode the sensor is silent and the host waits out its time-out.
    EXPECT_TRUE(device.SendCommandWaiting(RADAR_CMD_TRACK_SINGLE, 200).empty());
    ASSERT_TRUE(device.EnterCommandMode(1, 3000));
    const std::vector<uint8_t> ack = device.SendCommandWaiting(RADAR_CMD_TRACK_SINGLE, 2000);
    EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, ack.data(), static_cast<int>(ack.size()), 0), kAckOk);
    const std::vector<uint8_t> refused = device.SendCommandWaiting(0x1234, 2000);
    EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, refused.data(), static_cast<int>(refused.size()), 0),
              kAckStatusBase + static_cast<int>(kStatusUnknownCommand));
    EXPECT_TRUE(device.LeaveCommandMode());

    FrameQueue queue(64);
    RunGate gate;
    queue.Open();
    device.Begin(queue, gate);
    const std::vector<RadarFrame> frames = Drain(queue, 60);
    device.End();
    ASSERT_EQ(frames.size(), 60u);
    EXPECT_FALSE(device.LineLost());
    // One slot after 0x80, filled once the sensor's tracker has confirmed a scripted person.
    bool held = false;
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].index, frames[0].index + i) << "no frame lost";
        ASSERT_EQ(frames[i].sensorObjects.size(), 1u);
        held = held || frames[i].sensorObjects[0].Distance > 0.5;
        for (const Detection& d : frames[i].detections) {
            EXPECT_DOUBLE_EQ(d.gate, d.distance / 0.25);
        }
    }
    EXPECT_TRUE(held);
    EXPECT_EQ(link.Commands(),
              (std::vector<uint16_t>{RADAR_CMD_TRACK_SINGLE, RADAR_CMD_TRACK_SINGLE, 0x1234}));
}

TEST(SerialSensorDevice, ALineThatGoesAwayEndsTheRunAfterWhatArrivedBefore) {
    for (const bool hangUp : {true, false}) {
        SCOPED_TRACE(hangUp ? "hung up" : "silent");
        MemoryLink link(1);
        tagRADARPARAMETER run = SensorTracking();
        run.ProcessSite = RADAR_PROCESS_SITE_HOST;
        SerialSensorDevice device(link.Host(), run);
        std::string error;
        ASSERT_TRUE(device.Identify(error)) << error;

        FrameQueue queue(1024);
        RunGate gate;
        queue.Open();
        device.Begin(queue, gate);
        std::vector<RadarFrame> frames = Drain(queue, 10);
        ASSERT_EQ(frames.size(), 10u);
        if (hangUp) {
            link.HangUp();
        } else {
            link.Silence();
        }
        const auto lostAt = std::chrono::steady_clock::now();
        // The queue ends by itself: Pop answers false once every received frame is out.
        const std::vector<RadarFrame> rest = Drain(queue, 100000);
        const auto ended = std::chrono::steady_clock::now() - lostAt;
        EXPECT_TRUE(device.LineLost());
        frames.insert(frames.end(), rest.begin(), rest.end());
        EXPECT_EQ(frames.size(), link.FramesSent()) << "every frame sent was queued";
        EXPECT_LT(ended, std::chrono::milliseconds(SerialSensorDevice::kSilenceLimitMs + 1000));
        // Nothing works on a lost line, at once.
        EXPECT_FALSE(device.EnterCommandMode(1, 3000));
        EXPECT_FALSE(device.Identify(error));
        device.End();
        // A new run on the lost device ends as it starts.
        FrameQueue again(8);
        again.Open();
        device.Begin(again, gate);
        RadarFrame frame;
        EXPECT_FALSE(again.Pop(frame));
    }
}

bool SameFrame(const RadarFrame& a, const RadarFrame& b) {
    auto sameDetection = [](const Detection& x, const Detection& y) {
        return x.distance == y.distance && x.gate == y.gate && x.angle == y.angle &&
               x.velocity == y.velocity && x.amplitude == y.amplitude;
    };
    auto sameObject = [](const RadarObject& x, const RadarObject& y) {
        return x.Id == y.Id && x.Distance == y.Distance && x.Angle == y.Angle &&
               x.Velocity == y.Velocity && x.GateDistance == y.GateDistance;
    };
    return a.index == b.index && a.timeMs == b.timeMs && a.flags == b.flags &&
           std::equal(a.detections.begin(), a.detections.end(), b.detections.begin(),
                      b.detections.end(), sameDetection) &&
           std::equal(a.sensorObjects.begin(), a.sensorObjects.end(), b.sensorObjects.begin(),
                      b.sensorObjects.end(), sameObject);
}

// Every frame of the recording in folder, in playback's order.
std::vector<RadarFrame> ReadRecording(const std::wstring& folder, RecordingInfo& info) {
    std::vector<RadarFrame> frames;
    std::string error;
    EXPECT_TRUE(InspectRecording(folder, info, error)) << error;
    for (const std::wstring& name : info.files) {
        RawFileReader reader;
        EXPECT_TRUE(reader.Open(folder + L"/" + name, error)) << error;
        RadarFrame frame;
        while (reader.Next(frame)) {
            frames.push_back(frame);
        }
        EXPECT_EQ(reader.DamagedStretches(), 0);
        EXPECT_TRUE(reader.TakeProblems().empty());
    }
    return frames;
}

// A run that records: every queued frame is in the recording, in order and unchanged, and
// nothing from a pause. When the line goes away, everything that arrived before is kept, and
// the next run records into a folder of its own.
TEST(SerialSensorDevice, ARecordingRunKeepsEveryQueuedFrameUpToTheLoss) {
    const test::TempFolder parent(u8"serial_recording");
    MemoryLink link(2);
    tagRADARPARAMETER run = SensorTracking();
    run.SaveRawData = 1;
    SerialSensorDevice device(link.Host(), run, parent.Wide());
    std::string error;
    ASSERT_TRUE(device.Identify(error)) << error;

    FrameQueue queue(4096);
    RunGate gate;
    queue.Open();
    device.Begin(queue, gate);
    const std::wstring folder = device.RecordingFolder();
    ASSERT_FALSE(folder.empty());
    std::vector<RadarFrame> queued = Drain(queue, 20);
    gate.SetPaused(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    gate.SetPaused(false);
    std::vector<RadarFrame> more = Drain(queue, 20);
    link.HangUp();
    const std::vector<RadarFrame> rest = Drain(queue, 100000);
    queued.insert(queued.end(), more.begin(), more.end());
    queued.insert(queued.end(), rest.begin(), rest.end());
    ASSERT_TRUE(device.LineLost());
    ASSERT_GE(queued.size(), 40u);
    EXPECT_GT(queued[20].index, queued[19].index + 1) << "frames of the pause were not queued";

    // Read while the device is still open: the loss itself has put everything on the disk.
    RecordingInfo info;
    const std::vector<RadarFrame> recorded = ReadRecording(folder, info);
    ASSERT_EQ(recorded.size(), queued.size());
    for (size_t i = 0; i < queued.size(); ++i) {
        ASSERT_TRUE(SameFrame(recorded[i], queued[i])) << "frame " << i;
    }
    EXPECT_EQ(info.record.SourceType, RADAR_SOURCE_COM);
    EXPECT_EQ(info.record.ProcessSite, RADAR_PROCESS_SITE_SENSOR);
    EXPECT_EQ(info.record.FramePeriodMs, run.FramePeriodMs);
    device.End();
    EXPECT_EQ(device.RecordingFolder(), folder);
}

}  // namespace
}  // namespace zuvo::radar
