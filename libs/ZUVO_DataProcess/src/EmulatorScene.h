// The emulator's world: people walking through the sensor's field of view. They enter from
// outside, walk to a few places at their own pace (0.5 to 1.5 m/s, speeding up and slowing
// down as people do), sometimes stop there for a while, cross each other's paths and leave again;
// new people keep coming. Optionally a fixed reflector stands in the field. The same seed gives the
// same scene.
#pragma once

#include <cstdint>
#include <vector>

#include "CvKalman.h"
#include "Random.h"

namespace zuvo::radar {

struct SceneSettings {
    double maxRange = 8.0;       // metres, the far edge of the field
    double minRange = 0.5;       // metres, the near edge
    double halfAngleDeg = 60.0;  // the field spans -half .. +half around the boresight
    int maxPeople = 3;           // people in the scene at once, at most
    bool fixedReflector = false;
    // 1 to 3: just these people, each pacing on a spot of its own, person k stepping out of
    // the field leaveS[k - 1] seconds after the start (0: never); nobody else comes.
    int scriptedPeople = 0;
    double leaveS[3] = {0.0, 0.0, 0.0};
    // 1 to 100: a crowd of this many objects instead, each swaying along its line of sight on
    // a spot of its own, spread over the field in rings; wins over scriptedPeople. With
    // crowdLifeS positive (at least 5 s), every object steps out after crowdLifeS seconds, the
    // objects one after another, and a newcomer with a new id takes its spot a moment later.
    int crowdObjects = 0;
    double crowdLifeS = 0.0;
};

struct ScenePerson {
    int id;
    Vec2 position;  // x lateral, y forward, metres
    Vec2 velocity;  // m/s
    bool standing;
};

class EmulatorScene {
public:
    EmulatorScene(const SceneSettings& settings, uint64_t seed);

    // Moves the world dt seconds on.
    void Advance(double dt);

    std::vector<ScenePerson> People() const;
    bool HasReflector() const { return m_settings.fixedReflector; }
    Vec2 Reflector() const;
    // Whether a point lies in the sensor's field of view.
    bool InField(Vec2 point) const;
    const SceneSettings& Settings() const { return m_settings; }

private:
    enum class Phase { Walking, Standing, Leaving };
    struct Walker {
        int id;
        Vec2 position;
        Vec2 target;
        double pace;   // the walker's own walking speed
        double speed;  // current speed
        bool stopAtTarget;
        Phase phase;
        double waitS;
        int waypointsLeft;
        Vec2 velocity;
    };

    void Spawn(bool inside);
    void AdvanceScripted();
    void AdvanceCrowd();
    void ChooseNextGoal(Walker& walker);
    bool StepWalker(Walker& walker, double dt);
    Vec2 PolarPoint(double range, double angleDeg) const;
    struct Spot {
        double range;
        double angleDeg;
    };
    void PlaceCrowd();
    Vec2 InsidePoint();
    Vec2 OutsidePoint();

    SceneSettings m_settings;
    Random m_random;
    std::vector<Walker> m_walkers;
    std::vector<Spot> m_spots;  // the crowd's
    int m_nextId;
    double m_spawnWaitS;
    double m_timeS;
};

}  // namespace zuvo::radar
