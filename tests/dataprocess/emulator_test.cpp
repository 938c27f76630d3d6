// The radar emulator: a lively, repeatable scene, realistic measurements, and the sensor's
// command protocol.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "CommandAck.h"
#include "DetectionModel.h"
#include "EmulatedSensor.h"
#include "EmulatorScene.h"
#include "MttTracker.h"
#include "RadarConfigFile.h"

namespace zuvo::radar {
namespace {

tagRADARPARAMETER Record() {
    tagRADARPARAMETER record;
    SetDefaultParameters(record);
    return record;
}

tagEMULATORSETTINGS Emulator() {
    tagEMULATORSETTINGS settings;
    SetDefaultEmulatorSettings(settings);
    return settings;
}

bool SameDetections(const std::vector<Detection>& a, const std::vector<Detection>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(Detection)) == 0);
}

TEST(EmulatedSensor, TheSameSeedGivesTheSameFrames) {
    const tagRADARPARAMETER record = Record();
    tagEMULATORSETTINGS emulator = Emulator();
    EmulatedSensor first(record, emulator);
    EmulatedSensor second(record, emulator);
    emulator.EmulatorSeed += 1;
    EmulatedSensor other(record, emulator);
    int differing = 0;
    for (int i = 0; i < 400; ++i) {
        const RadarFrame a = first.NextFrame();
        const RadarFrame b = second.NextFrame();
        ASSERT_EQ(a.index, static_cast<uint32_t>(i));
        ASSERT_EQ(a.timeMs, static_cast<uint32_t>(i * record.FramePeriodMs));
        ASSERT_TRUE(SameDetections(a.detections, b.detections)) << "frame " << i;
        differing += SameDetections(a.detections, other.NextFrame().detections) ? 0 : 1;
    }
    EXPECT_GT(differing, 300);
}

// The emulator's settings, not the record, decide what is in the scene and how it is measured:
// with nobody there, no false alarms and no misses, only the fixed reflector is seen, in every
// frame, where it stands (60 % of the range, 25 degrees right).
TEST(EmulatedSensor, TheEmulatorSettingsShapeTheScene) {
    const tagRADARPARAMETER record = Record();
    tagEMULATORSETTINGS emulator = Emulator();
    emulator.EmulatorPeople = 0;
    emulator.EmulatorFalseAlarmRate = 0.0;
    emulator.EmulatorMissRate = 0.0;
    emulator.EmulatorNoise = 0.0;
    emulator.EmulatorFixedReflector = 1;
    EmulatedSensor reflectorOnly(record, emulator);
    emulator.EmulatorFixedReflector = 0;
    EmulatedSensor empty(record, emulator);
    const double range = record.GateCount * record.RangeResolution;
    for (int i = 0; i < 200; ++i) {
        const RadarFrame frame = reflectorOnly.NextFrame();
        ASSERT_EQ(frame.detections.size(), 1u) << "frame " << i;
        EXPECT_NEAR(frame.detections[0].distance, 0.6 * range, 0.05) << "frame " << i;
        EXPECT_NEAR(frame.detections[0].angle, 25.0, 6.0) << "frame " << i;
        ASSERT_TRUE(empty.NextFrame().detections.empty()) << "frame " << i;
    }
}

// A scripted scene: the people asked for and nobody else, each staying near its spot (and
// moving, so the sensor keeps seeing it) until its time to leave; then it is gone for good.
TEST(EmulatorScene, ScriptedPeopleStayOnTheirSpotsUntilTheyLeave) {
    SceneSettings settings;
    settings.scriptedPeople = 2;
    settings.leaveS[1] = 3.0;
    EmulatorScene scene(settings, 99);
    const double dt = 0.05;
    std::map<int, Vec2> first;
    for (int step = 1; step <= 400; ++step) {
        scene.Advance(dt);
        const std::vector<ScenePerson> people = scene.People();
        SCOPED_TRACE(testing::Message() << "after step " << step);
        if (step != 60) {  // the 3 s themselves, where adding up 0.05 s may fall either side
            ASSERT_EQ(people.size(), step < 60 ? 2u : 1u);
        }
        for (const ScenePerson& person : people) {
            ASSERT_TRUE(scene.InField(person.position));
            EXPECT_FALSE(person.standing);
            EXPECT_GT(std::hypot(person.velocity.x, person.velocity.y), 0.1);
            const auto known = first.emplace(person.id, person.position).first;
            EXPECT_LE(std::hypot(person.position.x - known->second.x,
                                 person.position.y - known->second.y),
                      0.61)
                << "person " << person.id << " stays on its spot";
        }
        EXPECT_EQ(people[0].id, 1) << "the one who stays";
    }
    ASSERT_EQ(first.size(), 2u);
    EXPECT_LT(first[1].x, first[2].x) << "person 1 on the left";
}

// Ten minutes of scene: people come and go, walk at their pace (never faster than 1.5 m/s),
// stop, cross, and there are never more than allowed.
TEST(EmulatorScene, PeopleComeWalkStopCrossAndLeave) {
    SceneSettings settings;
    settings.maxPeople = 4;
    EmulatorScene scene(settings, 1234);
    const double dt = 0.05;
    std::map<int, double> topSpeed;
    int emptyFrames = 0;
    int frames = 0;
    int standingFrames = 0;
    bool crossed = false;
    for (double t = 0.0; t < 600.0; t += dt, ++frames) {
        scene.Advance(dt);
        const std::vector<ScenePerson> people = scene.People();
        ASSERT_LE(people.size(), 4u);
        emptyFrames += people.empty() ? 1 : 0;
        for (size_t i = 0; i < people.size(); ++i) {
            const double speed = std::hypot(people[i].velocity.x, people[i].velocity.y);
            topSpeed[people[i].id] = std::max(topSpeed[people[i].id], speed);
            ASSERT_LE(speed, 1.5 + 1e-9);
            if (people[i].standing) {
                ++standingFrames;
                EXPECT_EQ(speed, 0.0);
            }
            for (size_t j = i + 1; j < people.size(); ++j) {
                crossed =
                    crossed || (std::hypot(people[i].position.x - people[j].position.x,
                                           people[i].position.y - people[j].position.y) < 0.5 &&
                                scene.InField(people[i].position));
            }
        }
    }
    EXPECT_GT(topSpeed.size(), 30u) << "people keep coming and leaving";
    const auto walkers = std::count_if(topSpeed.begin(), topSpeed.end(),
                                       [](const auto& entry) { return entry.second >= 0.5; });
    EXPECT_GE(walkers * 10, static_cast<long>(topSpeed.size()) * 9) << "walking at 0.5 m/s or more";
    EXPECT_LT(emptyFrames, frames / 10) << "the field is rarely empty";
    EXPECT_GT(standingFrames, frames / 20) << "people stop now and then";
    EXPECT_TRUE(crossed) << "paths cross";
}

// The crowd of a long run under load: every object in the field, far enough from the others
// for the sensor to tell them apart, moving and staying on its spot; with a life, objects step
// out one after another and come back as newcomers, so only a few are away at a time.
TEST(EmulatorScene, ACrowdStaysOnItsSpotsAndIsRenewedObjectByObject) {
    SceneSettings settings;
    settings.crowdObjects = 100;
    settings.crowdLifeS = 20.0;
    settings.scriptedPeople = 3;  // the crowd wins
    EmulatorScene scene(settings, 5);
    const double dt = 0.02;
    std::map<int, Vec2> spots;  // by id modulo the crowd's size
    std::map<int, int> lastId;
    int newcomers = 0;
    size_t fewest = 100;
    for (int step = 0; step <= 3000; ++step) {  // 60 s
        if (step > 0) {
            scene.Advance(dt);
        }
        const std::vector<ScenePerson> people = scene.People();
        SCOPED_TRACE(testing::Message() << "at step " << step);
        ASSERT_LE(people.size(), 100u);
        fewest = std::min(fewest, people.size());
        for (size_t i = 0; i < people.size(); ++i) {
            const ScenePerson& person = people[i];
            ASSERT_TRUE(scene.InField(person.position));
            EXPECT_FALSE(person.standing);
            const int spot = (person.id - 1) % 100;
            const auto known = spots.emplace(spot, person.position).first;
            EXPECT_LE(std::hypot(person.position.x - known->second.x,
                                 person.position.y - known->second.y),
                      0.31)
                << "object " << person.id << " stays on its spot";
            const auto last = lastId.emplace(spot, person.id).first;
            if (last->second != person.id) {
                EXPECT_EQ(person.id, last->second + 100) << "a newcomer, never an old id";
                last->second = person.id;
                ++newcomers;
            }
            for (size_t j = i + 1; j < people.size(); ++j) {
                ASSERT_GE(std::hypot(person.position.x - people[j].position.x,
                                     person.position.y - people[j].position.y),
                          0.4)
                    << "objects " << person.id << " and " << people[j].id
                    << " are told apart (0.3 m)";
            }
        }
    }
    EXPECT_EQ(spots.size(), 100u);
    // 60 s are three lives: every object was renewed twice or three times.
    EXPECT_GE(newcomers, 200);
    EXPECT_LE(newcomers, 300);
    // 1.5 s away out of every 20 s: about 8 of 100 away at once, never a crowd of them.
    EXPECT_GE(fewest, 90u);
    EXPECT_LT(fewest, 100u);
}

// The host tracker keeps a track on every object of the crowd at 50 frames a second: the
// deliveries of a long run under load carry about the crowd's size.
TEST(EmulatedSensor, TheTrackerFollowsEveryObjectOfACrowd) {
    tagRADARPARAMETER record = Record();
    record.FramePeriodMs = 20;
    tagEMULATORSETTINGS emulator = Emulator();
    emulator.EmulatorObjects = 100;
    EmulatedSensor sensor(record, emulator);
    MttTracker tracker;
    std::set<int64_t> ids;
    int frames = 0;
    int fullFrames = 0;
    size_t fewest = 1000;
    size_t most = 0;
    for (int i = 0; i < 500; ++i) {  // 10 s
        const RadarFrame frame = sensor.NextFrame();
        tracker.Update(frame.timeMs, frame.detections);
        if (frame.timeMs < 1000) {
            continue;  // the tracks are being confirmed
        }
        const std::vector<TrackReport> tracks = tracker.ReportedTracks();
        ++frames;
        fullFrames += tracks.size() >= 97 ? 1 : 0;
        fewest = std::min(fewest, tracks.size());
        most = std::max(most, tracks.size());
        for (const TrackReport& track : tracks) {
            ids.insert(track.id);
        }
    }
    EXPECT_GE(fullFrames * 100, frames * 95) << "fewest " << fewest;
    EXPECT_GE(fewest, 90u);
    EXPECT_LE(most, 102u) << "a false alarm's track now and then, no more";
    EXPECT_LE(ids.size(), 115u) << "tracks stay on their objects";
}

TEST(EmulatorScene, NoPeopleMeansAnEmptySceneAndTheReflectorStaysPut) {
    SceneSettings settings;
    settings.maxPeople = 0;
    settings.fixedReflector = true;
    EmulatorScene scene(settings, 1);
    const Vec2 reflector = scene.Reflector();
    for (int i = 0; i < 2000; ++i) {
        scene.Advance(0.05);
        ASSERT_TRUE(scene.People().empty());
    }
    EXPECT_TRUE(scene.InField(reflector));
    EXPECT_EQ(scene.Reflector().x, reflector.x);
}

TEST(DetectionModel, DetectionsLieInTheFieldWithTheConfiguredErrors) {
    SceneSettings scene;
    scene.maxPeople = 5;
    EmulatorScene world(scene, 99);
    MeasureSettings measure;
    measure.missRate = 0.2;
    measure.falseAlarmRate = 0.0;
    Random random(4);
    int expected = 0;
    int detected = 0;
    double squaredError = 0.0;
    for (int frame = 0; frame < 6000; ++frame) {
        world.Advance(0.05);
        std::vector<Vec2> visible;
        for (const ScenePerson& person : world.People()) {
            if (world.InField(person.position) && !person.standing) {
                visible.push_back(person.position);
            }
        }
        const bool apart = std::all_of(visible.begin(), visible.end(), [&](const Vec2& p) {
            return std::count_if(visible.begin(), visible.end(), [&](const Vec2& q) {
                       return std::hypot(p.x - q.x, p.y - q.y) < 1.0;
                   }) == 1;
        });
        const std::vector<Detection> detections = MeasureScene(world, measure, random);
        for (const Detection& d : detections) {
            EXPECT_NEAR(d.gate, d.distance / measure.rangeResolution, 1e-9);
            EXPECT_LE(std::fabs(d.angle), 60.0 + 8.0);
            EXPECT_LE(d.distance, 8.0 + 0.3);
        }
        if (!apart || visible.size() != world.People().size()) {
            continue;  // merged or standing people have their own rules
        }
        expected += static_cast<int>(visible.size());
        detected += static_cast<int>(detections.size());
        for (const Detection& d : detections) {
            double nearest = 1e9;
            for (const Vec2& p : visible) {
                nearest = std::min(nearest, std::fabs(d.distance - std::hypot(p.x, p.y)));
            }
            squaredError += nearest * nearest;
        }
    }
    ASSERT_GT(expected, 2000);
    EXPECT_NEAR(1.0 - static_cast<double>(detected) / expected, 0.2, 0.03) << "miss rate";
    EXPECT_NEAR(std::sqrt(squaredError / detected), measure.distanceSigma, 0.01) << "range noise";
}

TEST(DetectionModel, FalseAlarmsAppearAtTheConfiguredRate) {
    SceneSettings scene;
    scene.maxPeople = 0;
    EmulatorScene world(scene, 7);
    MeasureSettings measure;
    measure.falseAlarmRate = 0.5;
    Random random(8);
    int alarms = 0;
    for (int frame = 0; frame < 10000; ++frame) {
        alarms += static_cast<int>(MeasureScene(world, measure, random).size());
    }
    EXPECT_NEAR(alarms / 10000.0, 0.5, 0.03);
}

TEST(EmulatedSensor, TracksBySelfInOneOrThreeSlots) {
    tagRADARPARAMETER record = Record();
    record.ProcessSite = RADAR_PROCESS_SITE_SENSOR;
    EmulatedSensor sensor(record, Emulator());
    EXPECT_EQ(sensor.TrackingSlots(), 3);
    RadarFrame frame = sensor.NextFrame();
    EXPECT_EQ(frame.flags & kFrameSensorObjects, kFrameSensorObjects);
    EXPECT_EQ(frame.sensorObjects.size(), 3u);
    ASSERT_TRUE(sensor.EnterCommandMode(1, 3000, 0));
    EXPECT_FALSE(sensor.HandleCommand(RADAR_CMD_TRACK_SINGLE, 10).empty());
    EXPECT_EQ(sensor.NextFrame().sensorObjects.size(), 1u);
    EXPECT_FALSE(sensor.HandleCommand(RADAR_CMD_TRACK_MULTI, 20).empty());
    EXPECT_EQ(sensor.NextFrame().sensorObjects.size(), 3u);
    int objects = 0;
    for (int i = 0; i < 100; ++i) {
        for (const RadarObject& slot : sensor.NextFrame().sensorObjects) {
            objects += slot.Distance >= 0.0 ? 1 : 0;
        }
    }
    EXPECT_GT(objects, 100) << "the sensor's own tracker finds the people";

    record.ProcessSite = RADAR_PROCESS_SITE_HOST;
    EmulatedSensor host(record, Emulator());
    frame = host.NextFrame();
    EXPECT_EQ(frame.flags, 0);
    EXPECT_TRUE(frame.sensorObjects.empty());
}

TEST(EmulatedSensor, CommandsAreHeardOnlyInCommandMode) {
    EmulatedSensor sensor(Record(), Emulator());
    EXPECT_TRUE(sensor.HandleCommand(RADAR_CMD_TRACK_SINGLE, 0).empty()) << "not in command mode";
    EXPECT_EQ(sensor.TrackingSlots(), 3);
    // Command mode ends timeoutMs after entering or after the last command; the clock wraps.
    const uint32_t start = 0xFFFFFF00u;
    ASSERT_TRUE(sensor.EnterCommandMode(7, 1000, start));
    EXPECT_TRUE(sensor.InCommandMode(start + 999));
    std::vector<uint8_t> ack = sensor.HandleCommand(RADAR_CMD_TRACK_SINGLE, start + 900);
    EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, ack.data(), static_cast<int>(ack.size()), 0), kAckOk);
    EXPECT_EQ(sensor.TrackingSlots(), 1);
    EXPECT_TRUE(sensor.InCommandMode(start + 1800));
    EXPECT_FALSE(sensor.InCommandMode(start + 1900));
    EXPECT_TRUE(sensor.HandleCommand(RADAR_CMD_TRACK_MULTI, start + 1950).empty());
    EXPECT_EQ(sensor.TrackingSlots(), 1);
    ASSERT_TRUE(sensor.EnterCommandMode(7, 0, 5));
    ack = sensor.HandleCommand(0x1234, 10);
    EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, ack.data(), static_cast<int>(ack.size()), 0), 0x100 + 1)
        << "unknown command";
    EXPECT_TRUE(sensor.LeaveCommandMode(20));
    EXPECT_FALSE(sensor.LeaveCommandMode(30));
    EXPECT_TRUE(sensor.HandleCommand(RADAR_CMD_TRACK_MULTI, 40).empty());
}

struct AckCase {
    const char* what;
    eRADAR_PROTOCOL_VERSION version;
    std::vector<uint8_t> bytes;
    int64_t expected;
    uint16_t code;
};

std::vector<uint8_t> Damaged(std::vector<uint8_t> bytes, size_t at) {
    bytes[at] ^= 0x01;
    return bytes;
}

TEST(CommandAck, ChecksFramesOfBothVersions) {
    const std::vector<uint8_t> v2 = BuildAck(RADAR_PROTOCOL_V2, 0x90, 0, 0);
    const std::vector<uint8_t> v1 = BuildAck(RADAR_PROTOCOL_V1, 0x80, 0, -5);
    ASSERT_EQ(v2.size(), 17u);
    ASSERT_EQ(v1.size(), 10u);
    const AckCase cases[] = {
        {"v2 good", RADAR_PROTOCOL_V2, v2, 0, kAckOk},
        {"v1 good", RADAR_PROTOCOL_V1, v1, -5, kAckOk},
        {"v2 other value", RADAR_PROTOCOL_V2, BuildAck(RADAR_PROTOCOL_V2, 0x90, 0, 3), 0,
         kAckValueMismatch},
        {"v1 other value", RADAR_PROTOCOL_V1, v1, 5, kAckValueMismatch},
        {"v2 status", RADAR_PROTOCOL_V2, BuildAck(RADAR_PROTOCOL_V2, 0x90, 0x0207, 0), 0, 0x107},
        {"v2 damaged value", RADAR_PROTOCOL_V2, Damaged(v2, 9), 0, kAckBadCheck},
        {"v2 damaged crc", RADAR_PROTOCOL_V2, Damaged(v2, 16), 0, kAckBadCheck},
        {"v1 damaged sum", RADAR_PROTOCOL_V1, Damaged(v1, 9), -5, kAckBadCheck},
        {"v2 bad sync", RADAR_PROTOCOL_V2, Damaged(v2, 0), 0, kAckBadSync},
        {"v2 frame as v1", RADAR_PROTOCOL_V1, v2, 0, kAckBadCheck},
        {"v1 frame as v2", RADAR_PROTOCOL_V2, v1, -5, kAckTooShort},
        {"short", RADAR_PROTOCOL_V2, std::vector<uint8_t>(v2.begin(), v2.end() - 1), 0,
         kAckTooShort},
        {"unknown version", RADAR_PROTOCOL_UNKNOWN, v2, 0, kAckUnknownVersion},
    };
    for (const AckCase& c : cases) {
        EXPECT_EQ(CheckAck(c.version, c.bytes.data(), static_cast<int>(c.bytes.size()), c.expected),
                  c.code)
            << c.what;
    }
    EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, nullptr, 17, 0), kAckTooShort);
    EXPECT_EQ(CheckAck(RADAR_PROTOCOL_V2, v2.data(), -1, 0), kAckTooShort);
    const uint8_t modbus[] = {0x01, 0x05, 0x00, 0x02, 0xFF, 0x00};
    EXPECT_EQ(Crc16Modbus(modbus, sizeof(modbus)), 0xFA2D);  // sent as 2D FA
}

}  // namespace
}  // namespace zuvo::radar
