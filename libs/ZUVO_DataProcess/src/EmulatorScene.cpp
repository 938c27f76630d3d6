#include "EmulatorScene.h"

#include <algorithm>
#include <cmath>

namespace zuvo::radar {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr double kMinSpeed = 0.5;
constexpr double kMaxSpeed = 1.5;
constexpr double kStopChance = 0.35;
constexpr double kMinStandS = 1.5;
constexpr double kMaxStandS = 5.0;
constexpr double kMinSpawnWaitS = 2.0;
constexpr double kMaxSpawnWaitS = 6.0;
constexpr double kEmptySpawnWaitS = 1.0;
constexpr int kMaxWaypoints = 3;
constexpr double kAcceleration = 1.0;  // m/s^2, starting and stopping
constexpr double kArrivedM = 0.02;
// Scripted people pace to and fro along the sensor's line of sight, so that they stay where
// they were put and still move like someone waiting does.
constexpr double kScriptedRangesM[3] = {3.0, 4.5, 6.0};
constexpr double kScriptedAnglesDeg[3] = {-30.0, 0.0, 30.0};
constexpr double kScriptedPaceMps = 0.4;
constexpr double kScriptedSwayM = 0.3;
// The crowd sways smoothly (a sine), so that its tracks stay on their objects, with every
// object out of step with its neighbours. An object that steps out stays away long enough for
// its track to end, so that the newcomer on its spot gets a track of its own.
constexpr int kMaxCrowd = 100;
constexpr double kCrowdSwayM = 0.15;
constexpr double kCrowdSwayPeriodS = 4.0;
constexpr double kCrowdAwayS = 1.5;
constexpr double kMinCrowdLifeS = 5.0;
constexpr double kCrowdSpreadDeg = 50.0;  // the spots lie within +-this of the boresight

}  // namespace

EmulatorScene::EmulatorScene(const SceneSettings& settings, uint64_t seed)
    : m_settings(settings), m_random(seed), m_nextId(1), m_spawnWaitS(0.0), m_timeS(0.0) {
    m_settings.maxRange = std::max(m_settings.maxRange, m_settings.minRange + 1.0);
    m_settings.maxPeople = std::clamp(m_settings.maxPeople, 0, 5);
    m_settings.scriptedPeople = std::clamp(m_settings.scriptedPeople, 0, 3);
    m_settings.crowdObjects = std::clamp(m_settings.crowdObjects, 0, kMaxCrowd);
    if (m_settings.crowdLifeS > 0.0) {
        m_settings.crowdLifeS = std::max(m_settings.crowdLifeS, kMinCrowdLifeS);
    }
    if (m_settings.crowdObjects > 0) {
        PlaceCrowd();
        AdvanceCrowd();
        return;
    }
    if (m_settings.scriptedPeople > 0) {
        AdvanceScripted();
        return;
    }
    // Start with people already walking, so the first frames are not empty.
    const int first = (m_settings.maxPeople + 1) / 2;
    for (int i = 0; i < first; ++i) {
        Spawn(true);
    }
    m_spawnWaitS = m_random.Uniform(kMinSpawnWaitS, kMaxSpawnWaitS);
}

Vec2 EmulatorScene::PolarPoint(double range, double angleDeg) const {
    return Vec2{range * std::sin(angleDeg * kDegToRad), range * std::cos(angleDeg * kDegToRad)};
}

Vec2 EmulatorScene::InsidePoint() {
    const double nearRange = std::min(1.0, m_settings.maxRange * 0.5);
    const double farRange = std::max(nearRange, m_settings.maxRange - 0.5);
    const double half = std::max(5.0, m_settings.halfAngleDeg - 10.0);
    // Uniform over the area rather than over the radius, so people spread over the fan.
    const double u = m_random.Uniform();
    const double range =
        std::sqrt(nearRange * nearRange + u * (farRange * farRange - nearRange * nearRange));
    return PolarPoint(range, m_random.Uniform(-half, half));
}

Vec2 EmulatorScene::OutsidePoint() {
    const double half = m_settings.halfAngleDeg;
    if (m_random.Chance(0.4)) {
        // Beyond the far edge.
        return PolarPoint(m_settings.maxRange + 1.0, m_random.Uniform(-(half - 5.0), half - 5.0));
    }
    // Beside one of the straight edges of the fan.
    const double side = m_random.Chance(0.5) ? 1.0 : -1.0;
    const double range =
        m_random.Uniform(std::min(1.5, m_settings.maxRange * 0.3), m_settings.maxRange - 0.5);
    return PolarPoint(range, side * (half + 12.0));
}

void EmulatorScene::Spawn(bool inside) {
    Walker walker{};
    walker.id = m_nextId++;
    walker.position = inside ? InsidePoint() : OutsidePoint();
    walker.pace = m_random.Uniform(kMinSpeed, kMaxSpeed);
    // Someone entering the field is already on the move.
    walker.speed = inside ? 0.0 : walker.pace;
    walker.waypointsLeft = 1 + static_cast<int>(m_random.Uniform() * kMaxWaypoints);
    walker.phase = Phase::Walking;
    walker.target = InsidePoint();
    walker.stopAtTarget = m_random.Chance(kStopChance);
    m_walkers.push_back(walker);
}

void EmulatorScene::ChooseNextGoal(Walker& walker) {
    if (walker.waypointsLeft > 0) {
        --walker.waypointsLeft;
        walker.phase = Phase::Walking;
        walker.target = InsidePoint();
        walker.stopAtTarget = m_random.Chance(kStopChance);
    } else {
        walker.phase = Phase::Leaving;
        walker.target = OutsidePoint();
        walker.stopAtTarget = false;
    }
}

// Answers false when the walker has left the scene.
bool EmulatorScene::StepWalker(Walker& walker, double dt) {
    if (walker.phase == Phase::Standing) {
        walker.waitS -= dt;
        if (walker.waitS <= 0.0) {
            ChooseNextGoal(walker);
        }
        return true;
    }
    const double dx = walker.target.x - walker.position.x;
    const double dy = walker.target.y - walker.position.y;
    const double distance = std::hypot(dx, dy);
    // Speed up towards the walker's pace; before a stop, slow down in time to stand at it.
    double wanted = walker.pace;
    if (walker.stopAtTarget) {
        wanted = std::min(wanted, std::sqrt(2.0 * kAcceleration * distance));
    }
    walker.speed = wanted > walker.speed ? std::min(wanted, walker.speed + kAcceleration * dt)
                                         : std::max(wanted, walker.speed - kAcceleration * dt);
    const double step = walker.speed * dt;
    if (distance > std::max(step, kArrivedM)) {
        walker.velocity = Vec2{dx / distance * walker.speed, dy / distance * walker.speed};
        walker.position.x += walker.velocity.x * dt;
        walker.position.y += walker.velocity.y * dt;
        return true;
    }
    walker.position = walker.target;
    if (walker.phase == Phase::Leaving) {
        return false;
    }
    if (walker.stopAtTarget) {
        walker.phase = Phase::Standing;
        walker.speed = 0.0;
        walker.velocity = Vec2{0.0, 0.0};
        walker.waitS = m_random.Uniform(kMinStandS, kMaxStandS);
    } else {
        ChooseNextGoal(walker);
    }
    return true;
}

// The scripted people at m_timeS: those whose time to leave has not come, each swaying along
// its line of sight around its spot.
void EmulatorScene::AdvanceScripted() {
    m_walkers.clear();
    const double period = 4.0 * kScriptedSwayM / kScriptedPaceMps;
    const double phase = std::fmod(m_timeS, period) / period;  // 0 .. 1
    const double offset = kScriptedSwayM * (phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase);
    const double speed = phase < 0.5 ? kScriptedPaceMps : -kScriptedPaceMps;
    for (int k = 0; k < m_settings.scriptedPeople; ++k) {
        const double leave = m_settings.leaveS[k];
        if (leave > 0.0 && m_timeS >= leave) {
            continue;
        }
        const double range = kScriptedRangesM[k] + offset;
        const Vec2 direction = PolarPoint(1.0, kScriptedAnglesDeg[k]);
        Walker walker{};
        walker.id = k + 1;
        walker.position = Vec2{direction.x * range, direction.y * range};
        walker.target = walker.position;
        walker.pace = kScriptedPaceMps;
        walker.speed = kScriptedPaceMps;
        walker.phase = Phase::Walking;
        walker.velocity = Vec2{direction.x * speed, direction.y * speed};
        m_walkers.push_back(walker);
    }
}

// Rings from near the sensor to near the far edge, each holding objects in proportion to its
// radius, so that neighbours stand about as far apart everywhere.
void EmulatorScene::PlaceCrowd() {
    const int count = m_settings.crowdObjects;
    const int rings = std::max(1, static_cast<int>(std::lround(std::sqrt(count))));
    const double nearRange = std::min(m_settings.minRange + 1.0, m_settings.maxRange * 0.5);
    const double farRange = std::max(nearRange, m_settings.maxRange - 0.5);
    std::vector<double> ranges;
    double sum = 0.0;
    for (int ring = 0; ring < rings; ++ring) {
        const double range = rings == 1 ? (nearRange + farRange) / 2.0
                                        : nearRange + (farRange - nearRange) * ring / (rings - 1.0);
        ranges.push_back(range);
        sum += range;
    }
    int placed = 0;
    for (int ring = 0; ring < rings; ++ring) {
        // The last ring takes what rounding left over.
        const int onRing =
            ring == rings - 1 ? count - placed
                              : std::min(count - placed,
                                         static_cast<int>(std::lround(count * ranges[ring] / sum)));
        for (int j = 0; j < onRing; ++j) {
            const double angle = -kCrowdSpreadDeg + 2.0 * kCrowdSpreadDeg * (j + 0.5) / onRing;
            m_spots.push_back(Spot{ranges[ring], angle});
        }
        placed += onRing;
    }
}

// The crowd at m_timeS: object k's first life ends (k + 1) / n of a life after the start, so
// that the objects step out one after another; it is away for kCrowdAwayS, then its next life
// begins with a new id.
void EmulatorScene::AdvanceCrowd() {
    m_walkers.clear();
    const int count = static_cast<int>(m_spots.size());
    const double life = m_settings.crowdLifeS;
    const double omega = 2.0 * 3.14159265358979323846 / kCrowdSwayPeriodS;
    for (int k = 0; k < count; ++k) {
        int generation = 0;
        if (life > 0.0) {
            const double firstEnd = life * (k + 1) / count;
            if (m_timeS >= firstEnd) {
                const double since = m_timeS - firstEnd;
                if (std::fmod(since, life) < kCrowdAwayS) {
                    continue;
                }
                generation = 1 + static_cast<int>(since / life);
            }
        }
        const Spot& spot = m_spots[static_cast<size_t>(k)];
        const double phase = omega * m_timeS + 2.0 * 3.14159265358979323846 * k / count;
        const double range = spot.range + kCrowdSwayM * std::sin(phase);
        const double speed = kCrowdSwayM * omega * std::cos(phase);
        const Vec2 direction = PolarPoint(1.0, spot.angleDeg);
        Walker walker{};
        walker.id = 1 + k + generation * count;
        walker.position = Vec2{direction.x * range, direction.y * range};
        walker.target = walker.position;
        walker.pace = std::fabs(speed);
        walker.speed = walker.pace;
        walker.phase = Phase::Walking;
        walker.velocity = Vec2{direction.x * speed, direction.y * speed};
        m_walkers.push_back(walker);
    }
}

void EmulatorScene::Advance(double dt) {
    if (!(dt > 0.0)) {
        return;
    }
    m_timeS += dt;
    if (m_settings.crowdObjects > 0) {
        AdvanceCrowd();
        return;
    }
    if (m_settings.scriptedPeople > 0) {
        AdvanceScripted();
        return;
    }
    for (size_t i = 0; i < m_walkers.size();) {
        if (StepWalker(m_walkers[i], dt)) {
            ++i;
        } else {
            m_walkers.erase(m_walkers.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    m_spawnWaitS -= dt;
    const int count = static_cast<int>(m_walkers.size());
    if (count == 0 && m_settings.maxPeople > 0) {
        m_spawnWaitS = std::min(m_spawnWaitS, kEmptySpawnWaitS);
    }
    if (m_spawnWaitS <= 0.0) {
        if (count < m_settings.maxPeople) {
            Spawn(false);
        }
        m_spawnWaitS = m_random.Uniform(kMinSpawnWaitS, kMaxSpawnWaitS);
    }
}

std::vector<ScenePerson> EmulatorScene::People() const {
    std::vector<ScenePerson> people;
    people.reserve(m_walkers.size());
    for (const Walker& walker : m_walkers) {
        people.push_back(ScenePerson{walker.id, walker.position, walker.velocity,
                                     walker.phase == Phase::Standing});
    }
    return people;
}

Vec2 EmulatorScene::Reflector() const {
    return PolarPoint(m_settings.maxRange * 0.6, 25.0);
}

bool EmulatorScene::InField(Vec2 point) const {
    const double range = std::hypot(point.x, point.y);
    if (range < m_settings.minRange || range > m_settings.maxRange || point.y <= 0.0) {
        return false;
    }
    return std::fabs(std::atan2(point.x, point.y)) <= m_settings.halfAngleDeg * kDegToRad;
}

}  // namespace zuvo::radar
