// Detection bounds, moving-object detection, the sensor's fixed slots and the routing of frames
// to the filters' listeners.
#include <gtest/gtest.h>

#include <cmath>

#include "DetectBounds.h"
#include "FrameProcessor.h"
#include "ModDetector.h"
#include "SceneScript.h"
#include "SlotMapper.h"
#include "TestSupport.h"

namespace zuvo::radar {
namespace {

using test::DetectionAt;

// A square of gates 4..12, lateral -4..4, and a triangle to the right.
const DetectBoundPoint kSquare[] = {{4, -4}, {12, -4}, {12, 4}, {4, 4}};
const DetectBoundPoint kTriangle[] = {{10, 10}, {20, 10}, {20, 20}};

struct BoundCase {
    double gate;
    double lateral;
    bool inside;
};

TEST(DetectBounds, InsideOnTheOutlineAndOutside) {
    DetectBoundSet bounds;
    EXPECT_TRUE(bounds.Admits(100.0, -100.0)) << "no bounds admit everything";
    ASSERT_TRUE(bounds.Add(kSquare, 4, 32));
    ASSERT_TRUE(bounds.Add(kTriangle, 3, 32));
    const BoundCase cases[] = {
        {8.0, 0.0, true},    {4.0, 0.0, true},       {12.0, 4.0, true},   {3.99, 0.0, false},
        {8.0, 4.01, false},  {12.2, 0.0, false},     {15.0, 12.0, true},  {15.0, 15.0, true},
        {15.0, 16.0, false}, {11.0, 10.5, true},     {0.0, 0.0, false},   {-8.0, 0.0, false},
        {NAN, 0.0, false},   {8.0, INFINITY, false}, {1e12, 1e12, false},
    };
    for (const BoundCase& c : cases) {
        EXPECT_EQ(bounds.Admits(c.gate, c.lateral), c.inside) << c.gate << ", " << c.lateral;
    }
}

TEST(DetectBounds, PointsAreCopiedAndLimitedToTheGrid) {
    DetectBoundPoint points[] = {{-5, -100}, {100, -100}, {100, 100}, {-5, 100}};
    DetectBoundSet bounds;
    ASSERT_TRUE(bounds.Add(points, 4, 16));
    points[1] = DetectBoundPoint{0, 0};  // the caller frees or reuses its array
    // The grid of 16: gates 0..15, lateral -16..15.
    EXPECT_TRUE(bounds.Contains(15.0, 15.0));
    EXPECT_TRUE(bounds.Contains(0.0, -16.0));
    EXPECT_FALSE(bounds.Contains(15.6, 0.0));
    EXPECT_FALSE(bounds.Contains(0.0, 15.6));
    EXPECT_FALSE(bounds.Add(points, 2, 16));
    EXPECT_FALSE(bounds.Add(nullptr, 4, 16));
    EXPECT_FALSE(bounds.Add(points, 4, 0));
    EXPECT_EQ(bounds.Count(), 1);
}

TEST(DetectBounds, PolarPositionsUseTheSensorsSides) {
    DetectBoundSet right;
    const DetectBoundPoint rightHalf[] = {{0, 0}, {31, 0}, {31, 31}, {0, 31}};
    ASSERT_TRUE(right.Add(rightHalf, 4, 32));
    EXPECT_TRUE(right.AdmitsPolar(16.0, 30.0));  // positive angles lie to the right
    EXPECT_FALSE(right.AdmitsPolar(16.0, -30.0));
    EXPECT_TRUE(right.AdmitsPolar(10.0, 90.0));   // lateral 10, gate 0
    EXPECT_FALSE(right.AdmitsPolar(40.0, 10.0));  // beyond the grid
}

TEST(SharedBounds, ASnapshotStaysWhileBoundsChange) {
    SharedBounds shared;
    ASSERT_TRUE(shared.Add(kSquare, 4, 32));
    const std::shared_ptr<const DetectBoundSet> before = shared.Snapshot();
    shared.Clear();
    EXPECT_EQ(before->Count(), 1);
    EXPECT_TRUE(shared.Snapshot()->Empty());
    EXPECT_FALSE(shared.Add(kSquare, 1, 32));
    EXPECT_TRUE(shared.Snapshot()->Empty());
}

TEST(ModDetector, PicksTheStrongestMovingDetection) {
    ModDetector mod;
    const DetectBoundSet none;
    const Detection reflector = DetectionAt(Vec2{1.0, 3.0}, Vec2{0.0, 0.0}, 90.0);  // strong, still
    const Detection weak = DetectionAt(Vec2{-1.0, 5.0}, Vec2{0.0, 1.0}, 40.0);
    const Detection strong = DetectionAt(Vec2{2.0, 6.0}, Vec2{0.0, -1.0}, 55.0);
    RadarObject object{};
    ASSERT_TRUE(mod.Update(0, {reflector, weak, strong}, none, object));
    EXPECT_NEAR(object.Distance, strong.distance, 1e-12);
    EXPECT_NEAR(object.Velocity, strong.velocity, 1e-12);
    EXPECT_NEAR(object.Reserved1, 2.0, 1e-9);
    EXPECT_NEAR(object.Reserved2, 6.0, 1e-9);
    EXPECT_FALSE(mod.Update(50, {reflector}, none, object)) << "nothing moves";
}

TEST(ModDetector, KeepsTheIdWhileThePickStaysOnOneObject) {
    ModDetector mod;
    const DetectBoundSet none;
    RadarObject object{};
    for (uint32_t t = 0; t <= 1000; t += 50) {
        const double y = 3.0 + t / 1000.0;
        ASSERT_TRUE(mod.Update(t, {DetectionAt(Vec2{0.0, y}, Vec2{0.0, 1.0})}, none, object));
        EXPECT_EQ(object.Id, 1);
    }
    ASSERT_TRUE(mod.Update(1050, {DetectionAt(Vec2{3.0, 1.0}, Vec2{0.0, 1.0})}, none, object));
    EXPECT_EQ(object.Id, 2) << "a jump to another object";
    ASSERT_TRUE(mod.Update(2000, {DetectionAt(Vec2{3.0, 1.0}, Vec2{0.0, 1.0})}, none, object));
    EXPECT_EQ(object.Id, 3) << "a long gap";
}

TEST(ModDetector, IgnoresDetectionsOutsideItsBounds) {
    ModDetector mod;
    DetectBoundSet left;
    const DetectBoundPoint leftHalf[] = {{0, -31}, {31, -31}, {31, 0}, {0, 0}};
    ASSERT_TRUE(left.Add(leftHalf, 4, 32));
    const Detection rightStrong = DetectionAt(Vec2{2.0, 4.0}, Vec2{0.0, 1.0}, 70.0);
    const Detection leftWeak = DetectionAt(Vec2{-2.0, 4.0}, Vec2{0.0, 1.0}, 45.0);
    RadarObject object{};
    ASSERT_TRUE(mod.Update(0, {rightStrong, leftWeak}, left, object));
    EXPECT_LT(object.Angle, 0.0);
}

TEST(SlotMapper, TracksKeepTheirSlotsAndFreeSlotsTakeTheNearest) {
    SlotMapper mapper;
    const TrackReport near{7, {0.0, 2.0}, {0.0, 0.0}};
    const TrackReport far{3, {0.0, 6.0}, {0.0, 0.0}};
    const TrackReport middle{9, {0.0, 4.0}, {0.0, 0.0}};
    std::vector<RadarObject> slots = mapper.Assign({far, near}, 3, 0.25);
    ASSERT_EQ(slots.size(), 3u);
    EXPECT_EQ(slots[0].Id, 7);
    EXPECT_EQ(slots[1].Id, 3);
    EXPECT_EQ(slots[2].Distance, -1.0);
    EXPECT_NEAR(slots[0].GateDistance, 8.0, 1e-12);
    // The near one leaves: its slot empties, the others stay put.
    slots = mapper.Assign({far}, 3, 0.25);
    EXPECT_EQ(slots[0].Distance, -1.0);
    EXPECT_EQ(slots[1].Id, 3);
    // A newcomer takes the first free slot.
    slots = mapper.Assign({far, middle}, 3, 0.25);
    EXPECT_EQ(slots[0].Id, 9);
    EXPECT_EQ(slots[1].Id, 3);
    // One slot: the track already there stays even when another comes nearer.
    slots = mapper.Assign({far, middle, near}, 1, 0.25);
    ASSERT_EQ(slots.size(), 1u);
    EXPECT_EQ(slots[0].Id, 9);
}

class FrameProcessorTest : public testing::Test {
protected:
    void SetUp() override {
        m_filters.modListeners.Add(&m_mod);
        m_filters.mttListeners.Add(&m_mtt);
        m_filters.dataListeners.Add(&m_data);
    }

    // Two people, one on each side, walking away from the sensor for 1 s.
    void RunTwoPeople(FrameProcessor& processor) {
        for (uint32_t t = 0, i = 0; t <= 1000; t += 50, ++i) {
            RadarFrame frame;
            frame.index = i;
            frame.timeMs = t;
            const double y = 3.0 + t / 1000.0;
            frame.detections = {DetectionAt(Vec2{-1.5, y}, Vec2{0.0, 1.0}, 60.0),
                                DetectionAt(Vec2{1.5, y}, Vec2{0.0, 1.0}, 50.0)};
            processor.Process(frame);
        }
    }

    FilterSet m_filters;
    test::CollectingListener m_mod;
    test::CollectingListener m_mtt;
    test::CollectingListener m_data;
};

TEST_F(FrameProcessorTest, EachAlgorithmDeliversToItsOwnListeners) {
    FrameProcessor processor(m_filters);
    ProcessingSettings settings;
    settings.hostAlgorithm = RADAR_HOST_ALGORITHM_MTT;
    processor.Reset(settings);
    RunTwoPeople(processor);
    EXPECT_EQ(m_mtt.Count(), 21u) << "one delivery per frame";
    EXPECT_EQ(m_mtt.Deliveries().back().objects.size(), 2u);
    EXPECT_EQ(m_mtt.Deliveries().back().value, 20);
    EXPECT_EQ(m_mod.Count(), 0u);
    EXPECT_EQ(m_data.Count(), 0u);

    settings.hostAlgorithm = RADAR_HOST_ALGORITHM_MOD;
    processor.Reset(settings);
    m_mtt.Clear();
    RunTwoPeople(processor);
    EXPECT_EQ(m_mod.Count(), 21u);
    EXPECT_EQ(m_mtt.Count(), 0u);
    ASSERT_EQ(m_mod.Deliveries().back().objects.size(), 1u);
    EXPECT_LT(m_mod.Deliveries().back().objects[0].Angle, 0.0) << "the stronger one, on the left";
}

TEST_F(FrameProcessorTest, ObjectDetectionOffOrSensorTrackingDeliversNothingFromTheHost) {
    FrameProcessor processor(m_filters);
    processor.Reset(ProcessingSettings{});
    processor.SetObjectDetection(false);
    RunTwoPeople(processor);
    processor.SetObjectDetection(true);
    ProcessingSettings sensor;
    sensor.processSite = RADAR_PROCESS_SITE_SENSOR;
    processor.Reset(sensor);
    RunTwoPeople(processor);
    EXPECT_EQ(m_mtt.Count() + m_mod.Count() + m_data.Count(), 0u);
    EXPECT_EQ(processor.DeliveredEntries(), 0);
}

TEST_F(FrameProcessorTest, BoundsDropWhatLiesOutside) {
    const DetectBoundPoint rightHalf[] = {{0, 0}, {31, 0}, {31, 31}, {0, 31}};
    m_filters.mttBounds.Add(rightHalf, 4, 32);
    m_filters.modBounds.Add(rightHalf, 4, 32);
    FrameProcessor processor(m_filters);
    processor.Reset(ProcessingSettings{});
    RunTwoPeople(processor);
    ASSERT_EQ(m_mtt.Deliveries().back().objects.size(), 1u);
    EXPECT_GT(m_mtt.Deliveries().back().objects[0].Angle, 0.0);
    ProcessingSettings mod;
    mod.hostAlgorithm = RADAR_HOST_ALGORITHM_MOD;
    processor.Reset(mod);
    RunTwoPeople(processor);
    ASSERT_EQ(m_mod.Deliveries().back().objects.size(), 1u);
    EXPECT_GT(m_mod.Deliveries().back().objects[0].Angle, 0.0) << "the weaker one, inside";
}

TEST_F(FrameProcessorTest, SensorSlotsPassThroughTheDataFilter) {
    const DetectBoundPoint nearHalf[] = {{0, -31}, {15, -31}, {15, 31}, {0, 31}};
    m_filters.mttBounds.Add(nearHalf, 4, 32);
    FrameProcessor processor(m_filters);
    ProcessingSettings sensor;
    sensor.processSite = RADAR_PROCESS_SITE_SENSOR;
    processor.Reset(sensor);
    RadarFrame frame;
    frame.index = 4;
    frame.flags = kFrameSensorObjects;
    frame.sensorObjects = {RadarObject{5, 8.0, 2.0, 0.5, 30.0, 0, 0},     // inside
                           RadarObject{6, 24.0, 6.0, 0.5, 0.0, 0, 0},     // beyond gate 15
                           RadarObject{7, 8.0, 2.0, NAN, 0.0, 0, 0},      // not a number
                           RadarObject{-1, -1.0, -1.0, 0.0, 0.0, 0, 0}};  // empty slot
    processor.Process(frame);
    ASSERT_EQ(m_data.Count(), 1u);
    const std::vector<RadarObject> slots = m_data.Deliveries()[0].objects;
    ASSERT_EQ(slots.size(), 4u);
    EXPECT_EQ(slots[0].Id, 5);
    EXPECT_NEAR(slots[0].Reserved1, 1.0, 1e-12);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(slots[i].Distance, -1.0) << i;
    }
    EXPECT_EQ(processor.DeliveredEntries(), 4);
}

// Counts the entries without an object of each delivery, and where they stand.
struct DepartureCount {
    size_t deliveries = 0;
    std::vector<size_t> emptyAt;  // delivery index * 10 + position of every empty entry
};

DepartureCount EmptyEntries(const std::vector<test::Delivery>& deliveries, size_t from) {
    DepartureCount count;
    for (size_t d = from; d < deliveries.size(); ++d) {
        ++count.deliveries;
        for (size_t i = 0; i < deliveries[d].objects.size(); ++i) {
            if (!(deliveries[d].objects[i].Distance >= 0.0)) {
                count.emptyAt.push_back((d - from) * 10 + i);
            }
        }
    }
    return count;
}

TEST_F(FrameProcessorTest, ADepartureIsReportedOnceAtItsPositionInTheNextDelivery) {
    for (const int algorithm : {RADAR_HOST_ALGORITHM_MTT, RADAR_HOST_ALGORITHM_MOD}) {
        SCOPED_TRACE(algorithm == RADAR_HOST_ALGORITHM_MTT ? "MTT" : "MOD");
        test::CollectingListener& listener = algorithm == RADAR_HOST_ALGORITHM_MTT ? m_mtt : m_mod;
        listener.Clear();
        FrameProcessor processor(m_filters);
        ProcessingSettings settings;
        settings.hostAlgorithm = algorithm;
        processor.Reset(settings);
        RunTwoPeople(processor);
        const size_t before = algorithm == RADAR_HOST_ALGORITHM_MTT ? 2u : 1u;
        ASSERT_EQ(listener.Deliveries().back().objects.size(), before);
        EXPECT_TRUE(EmptyEntries(listener.Deliveries(), 0).emptyAt.empty())
            << "nothing has gone yet";

        // The person on the right (the weaker one, MOD's second choice) leaves; for MOD the
        // stronger one leaves too, so that its pick goes.
        const size_t from = listener.Count();
        for (uint32_t t = 1050, i = 21; t <= 3000; t += 50, ++i) {
            RadarFrame frame;
            frame.index = i;
            frame.timeMs = t;
            if (algorithm == RADAR_HOST_ALGORITHM_MTT) {
                frame.detections = {
                    DetectionAt(Vec2{-1.5, 3.0 + t / 1000.0}, Vec2{0.0, 1.0}, 60.0)};
            }
            processor.Process(frame);
        }
        const std::vector<test::Delivery> deliveries = listener.Deliveries();
        // The tracker still reports a track for a moment after its last hit; the delivery after
        // its last report is the first one shorter than before.
        size_t gone = from;
        while (gone < deliveries.size() && deliveries[gone].objects.size() == before &&
               deliveries[gone].objects.back().Distance >= 0.0) {
            ++gone;
        }
        ASSERT_LT(gone, deliveries.size()) << "the departure was never reported";
        const DepartureCount count = EmptyEntries(deliveries, gone);
        ASSERT_EQ(count.emptyAt.size(), 1u) << "exactly one empty entry for one departure";
        EXPECT_EQ(count.emptyAt[0], before - 1) << "in the next delivery, at the position it held";
        ASSERT_EQ(deliveries[gone].objects.size(), before);
        for (size_t d = gone + 1; d < deliveries.size(); ++d) {
            EXPECT_EQ(deliveries[d].objects.size(), before - 1) << "delivery " << d;
        }
        // A new run starts afresh: nothing to report from the run before.
        listener.Clear();
        processor.Reset(settings);
        RadarFrame empty;
        processor.Process(empty);
        ASSERT_EQ(listener.Count(), 1u);
        EXPECT_TRUE(listener.Deliveries()[0].objects.empty());
    }
}

TEST_F(FrameProcessorTest, EveryListenerGetsItsOwnCopyAndARemovedOneNothing) {
    class Scribbler : public IRadarObjectDetectListener {
    public:
        void OnRadarObjectDetect(int64_t, CPtrCtrl* objects) override {
            for (int i = 0; i < objects->GetCount(); ++i) {
                static_cast<RadarObject*>(objects->GetAt(i))->Distance = 99.0;
            }
        }
    } scribbler;
    class SelfRemover : public IRadarObjectDetectListener {
    public:
        explicit SelfRemover(ListenerRegistry& registry) : m_registry(registry) {}
        void OnRadarObjectDetect(int64_t, CPtrCtrl*) override {
            ++calls;
            m_registry.Remove(this);
        }
        int calls = 0;

    private:
        ListenerRegistry& m_registry;
    } remover(m_filters.mttListeners);
    m_filters.mttListeners.Remove(&m_mtt);
    ASSERT_TRUE(m_filters.mttListeners.Add(&scribbler));
    ASSERT_TRUE(m_filters.mttListeners.Add(&remover));
    ASSERT_TRUE(m_filters.mttListeners.Add(&m_mtt));
    EXPECT_FALSE(m_filters.mttListeners.Add(&m_mtt));
    EXPECT_FALSE(m_filters.mttListeners.Add(nullptr));
    const std::vector<RadarObject> objects = {RadarObject{1, 4.0, 1.0, 0.0, 0.0, 0, 0}};
    EXPECT_EQ(m_filters.mttListeners.Deliver(1, objects), 3);
    EXPECT_EQ(m_filters.mttListeners.Deliver(2, objects), 2);
    EXPECT_EQ(remover.calls, 1);
    ASSERT_EQ(m_mtt.Count(), 2u);
    EXPECT_EQ(m_mtt.Deliveries()[0].objects[0].Distance, 1.0);
}

}  // namespace
}  // namespace zuvo::radar
