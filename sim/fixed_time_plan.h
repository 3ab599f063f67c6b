#pragma once
#include <cstdint>
#include <vector>

#include "controller_memory.h"
#include "sim_application.h"
#include "sim_random.h"

namespace tavir::sim {

// A fixed-time plan that makes the controller's memory live. The signal groups are split into
// stages (blocks) so that no two groups of a stage have a clearance time between them; the stages
// take turns: each group of the stage is green for its maximum green time (at least its fixed
// green), then amber, then red, and the next stage starts once every clearance time from the
// groups that turned red has run out. Detectors are occupied now and then at random. Every step
// (a tenth of a second) writes the states, running times, detector flags, clock flags and
// counters into the memory; the times it runs on are read from the memory at the moment they are
// needed, so a Write of a parameter changes the plan as it would change a controller.
class FixedTimePlan {
public:
    void configure(const SimApplication& application, uint64_t seed);

    // One tenth of a second; localSeconds is the controller's clock for the counters.
    void step(ControllerMemory& memory, int64_t localSeconds);

    // Writes the values of the current moment without advancing time (after configure).
    void publish(ControllerMemory& memory, int64_t localSeconds);

    int stageCount() const { return static_cast<int>(stages_.size()); }
    int currentStage() const { return stage_; }
    int stageOf(int group) const;
    int64_t elapsedTenths() const { return now_; }

    enum Light { kLightRed, kLightGreen, kLightAmber };
    Light lightOf(int group) const;
    bool detectorOccupied(int detector) const;

private:
    struct GroupRun {
        int stage = 0;
        Light light = kLightRed;
        int64_t since = 0;  // tenth at which the light began
        int32_t greenLength = 0;
        int32_t fixedGreen = 0;  // VG time taken at the start of this green
        bool requested = false;
    };
    struct DetectorRun {
        bool occupied = false;
        int64_t since = 0;
        int32_t duration = 0;  // tenths of the current occupation
        int32_t meanGap = 50;  // mean tenths between vehicles
    };

    void startStage(int stage, ControllerMemory& memory);
    bool clearanceDone(int nextStage, const ControllerMemory& memory) const;
    void stepLights(ControllerMemory& memory);
    void stepDetectors();
    void writeGroups(ControllerMemory& memory) const;
    void writeDetectors(ControllerMemory& memory) const;
    void writeCounters(ControllerMemory& memory, int64_t localSeconds) const;
    bool extending(int group, const ControllerMemory& memory) const;

    SimApplication application_;
    std::vector<std::vector<int>> stages_;       // group indices per stage
    std::vector<std::vector<int>> conflictsOf_;  // per group, indices of conflicting groups
    std::vector<GroupRun> groups_;
    std::vector<DetectorRun> detectors_;
    SimRandom random_;
    int stage_ = 0;
    bool clearing_ = false;  // the stage has ended; waiting for the clearance times
    int64_t clearingSince_ = 0;
    int64_t now_ = 0;
};

}  // namespace tavir::sim
