#include "fixed_time_plan.h"

#include <algorithm>

#include "calendar.h"
#include "function_codes.h"

namespace tavir::sim {

namespace {

// Longest a stage waits for its clearance times, so that absurd values written by a client
// cannot stop the plan.
constexpr int64_t kLongestClearanceWait = 300;
constexpr int32_t kVersion = 100;

int32_t clampTenths(int32_t value, int32_t low, int32_t high) {
    return std::min(std::max(value, low), high);
}

int32_t loadAt(const ControllerMemory& memory, int32_t code, int32_t number, int32_t block = 0) {
    return memory.load({code, number, block});
}

void put(ControllerMemory& memory, int32_t code, int32_t number, int32_t block, int32_t value) {
    memory.store({code, number, block}, value);
}

// The plan's reading of the time settings; an unset (0 or negative) setting gets a plausible
// default, and every setting is held to a range in which the plan keeps turning.
int32_t fixedGreenOf(const ControllerMemory& memory, int32_t number) {
    int32_t vg = loadAt(memory, fc::kFixedGreenTime, number);
    return vg <= 0 ? 60 : clampTenths(vg, 10, 600);
}

int32_t greenLengthOf(const ControllerMemory& memory, int32_t number, int32_t fixedGreen) {
    int32_t mg = loadAt(memory, fc::kMaxGreenTime, number);
    if (mg <= 0) return fixedGreen + 50;
    return clampTenths(std::max(mg, fixedGreen), fixedGreen, 1200);
}

int32_t amberOf(const ControllerMemory& memory, int32_t number) {
    int32_t gl = loadAt(memory, fc::kAmberTime, number);
    return gl < 0 ? 30 : clampTenths(gl, 0, 100);
}

int32_t guaranteedRedOf(const ControllerMemory& memory, int32_t number) {
    int32_t gr = loadAt(memory, fc::kGuaranteedRedTime, number);
    return gr <= 0 ? 20 : clampTenths(gr, 0, 100);
}

int32_t guaranteedGreenOf(const ControllerMemory& memory, int32_t number, int32_t fixedGreen) {
    int32_t gg = loadAt(memory, fc::kGuaranteedGreenTime, number);
    return gg <= 0 ? fixedGreen : clampTenths(gg, 0, 600);
}

int32_t clearanceOf(const ControllerMemory& memory, int32_t from, int32_t to) {
    return clampTenths(loadAt(memory, fc::kClearanceTime, from, to), 0, 300);
}

}  // namespace

void FixedTimePlan::configure(const SimApplication& application, uint64_t seed) {
    application_ = application;
    // Groups without an array number cannot be addressed; they take no part.
    application_.groups.erase(std::remove_if(application_.groups.begin(), application_.groups.end(),
                                             [](const SimSignalGroup& g) { return g.arrayNumber < 0; }),
                              application_.groups.end());
    for (SimDetector& d : application_.detectors) d.group = detectorGroup(application_, d.name);

    size_t count = application_.groups.size();
    conflictsOf_.assign(count, {});
    auto indexOf = [&](int32_t arrayNumber) {
        for (size_t i = 0; i < count; ++i) {
            if (application_.groups[i].arrayNumber == arrayNumber) return static_cast<int>(i);
        }
        return -1;
    };
    for (const SimConflict& c : application_.conflicts) {
        int from = indexOf(c.fromNumber);
        int to = indexOf(c.toNumber);
        if (from < 0 || to < 0 || from == to) continue;
        auto add = [&](int a, int b) {
            if (std::find(conflictsOf_[a].begin(), conflictsOf_[a].end(), b) == conflictsOf_[a].end()) {
                conflictsOf_[a].push_back(b);
            }
        };
        add(from, to);
        add(to, from);
    }

    // Greedy stages in group order: each group joins the first stage it has no conflict in.
    stages_.clear();
    groups_.assign(count, GroupRun{});
    for (size_t g = 0; g < count; ++g) {
        size_t s = 0;
        for (; s < stages_.size(); ++s) {
            bool free = std::none_of(stages_[s].begin(), stages_[s].end(), [&](int other) {
                return std::find(conflictsOf_[g].begin(), conflictsOf_[g].end(), other) !=
                       conflictsOf_[g].end();
            });
            if (free) break;
        }
        if (s == stages_.size()) stages_.emplace_back();
        stages_[s].push_back(static_cast<int>(g));
        groups_[g].stage = static_cast<int>(s);
    }

    random_ = SimRandom(seed);
    detectors_.assign(application_.detectors.size(), DetectorRun{});
    for (DetectorRun& d : detectors_) d.meanGap = random_.range(30, 150);

    now_ = 0;
    // The plan starts at the end of the last stage, so that the first step opens stage 0 after
    // the clearance times, as after a controller's start-up.
    stage_ = stages_.empty() ? 0 : static_cast<int>(stages_.size()) - 1;
    clearing_ = true;
    clearingSince_ = 0;
    for (GroupRun& g : groups_) g.since = -1000;
}

int FixedTimePlan::stageOf(int group) const {
    return group >= 0 && group < static_cast<int>(groups_.size()) ? groups_[group].stage : -1;
}

FixedTimePlan::Light FixedTimePlan::lightOf(int group) const {
    return group >= 0 && group < static_cast<int>(groups_.size()) ? groups_[group].light : kLightRed;
}

bool FixedTimePlan::detectorOccupied(int detector) const {
    return detector >= 0 && detector < static_cast<int>(detectors_.size()) && detectors_[detector].occupied;
}

void FixedTimePlan::startStage(int stage, ControllerMemory& memory) {
    stage_ = stage;
    clearing_ = false;
    if (stage == 0) {
        int32_t rounds = loadAt(memory, fc::kCycleCounter, 0);
        put(memory, fc::kCycleCounter, 0, 0, (rounds + 1) & 0xFFFFFF);
    }
    for (int g : stages_[stage]) {
        GroupRun& run = groups_[g];
        int32_t number = application_.groups[g].arrayNumber;
        run.light = kLightGreen;
        run.since = now_;
        run.fixedGreen = fixedGreenOf(memory, number);
        run.greenLength = greenLengthOf(memory, number, run.fixedGreen);
        run.requested = false;
    }
}

bool FixedTimePlan::clearanceDone(int nextStage, const ControllerMemory& memory) const {
    if (now_ - clearingSince_ >= kLongestClearanceWait) return true;
    for (int to : stages_[nextStage]) {
        const GroupRun& toRun = groups_[to];
        if (toRun.light != kLightRed) return false;
        if (now_ - toRun.since < guaranteedRedOf(memory, application_.groups[to].arrayNumber)) return false;
        for (int from : conflictsOf_[to]) {
            const GroupRun& fromRun = groups_[from];
            if (fromRun.light != kLightRed) return false;
            int32_t clearance = clearanceOf(memory, application_.groups[from].arrayNumber,
                                            application_.groups[to].arrayNumber);
            if (now_ - fromRun.since < clearance) return false;
        }
    }
    return true;
}

void FixedTimePlan::stepLights(ControllerMemory& memory) {
    if (stages_.empty()) return;
    if (clearing_) {
        int next = (stage_ + 1) % static_cast<int>(stages_.size());
        if (clearanceDone(next, memory)) startStage(next, memory);
        return;
    }
    bool allRed = true;
    for (int g : stages_[stage_]) {
        GroupRun& run = groups_[g];
        int32_t number = application_.groups[g].arrayNumber;
        if (run.light == kLightGreen && now_ - run.since >= run.greenLength) {
            run.light = kLightAmber;
            run.since = now_;
        }
        if (run.light == kLightAmber && now_ - run.since >= amberOf(memory, number)) {
            run.light = kLightRed;
            run.since = now_;
        }
        if (run.light != kLightRed) allRed = false;
    }
    if (allRed) {
        clearing_ = true;
        clearingSince_ = now_;
    }
}

void FixedTimePlan::stepDetectors() {
    for (size_t i = 0; i < detectors_.size(); ++i) {
        DetectorRun& d = detectors_[i];
        int group = application_.detectors[i].group;
        bool waiting = group >= 0 && groups_[group].light != kLightGreen;
        if (d.occupied) {
            if (now_ - d.since >= d.duration) {
                d.occupied = false;
                d.since = now_;
            }
        } else if (random_.range(1, d.meanGap) == 1) {
            d.occupied = true;
            d.since = now_;
            // A vehicle that meets red stands on the loop a while.
            d.duration = waiting ? random_.range(5, 60) : random_.range(3, 15);
        }
        if (d.occupied && waiting) groups_[group].requested = true;
    }
}

bool FixedTimePlan::extending(int group, const ControllerMemory& memory) const {
    for (size_t i = 0; i < detectors_.size(); ++i) {
        if (application_.detectors[i].group != group) continue;
        const DetectorRun& d = detectors_[i];
        if (d.occupied) return true;
        int32_t gap = loadAt(memory, fc::kGapTime1, application_.detectors[i].arrayNumber);
        if (now_ - d.since < gap) return true;
    }
    return false;
}

void FixedTimePlan::writeGroups(ControllerMemory& memory) const {
    for (size_t g = 0; g < groups_.size(); ++g) {
        const GroupRun& run = groups_[g];
        int32_t n = application_.groups[g].arrayNumber;
        int32_t elapsed = static_cast<int32_t>(std::min<int64_t>(now_ - run.since, 0xFFFFFF));
        bool green = run.light == kLightGreen;
        bool amber = run.light == kLightAmber;
        bool red = run.light == kLightRed;
        bool fixed = green && elapsed < run.fixedGreen;
        bool extend = green && !fixed && extending(static_cast<int>(g), memory);
        int32_t guaranteedRed = guaranteedRedOf(memory, n);
        bool redGuarantee = red && elapsed < guaranteedRed;
        int next = stages_.empty() ? -1 : (stage_ + 1) % static_cast<int>(stages_.size());
        bool beforeGreen = red && clearing_ && run.stage == next;

        put(memory, fc::kRed, n, 0, red);
        put(memory, fc::kGreen, n, 0, green);
        put(memory, fc::kAmber, n, 0, amber);
        put(memory, fc::kFixedGreen, n, 0, fixed);
        put(memory, fc::kExtendGreen, n, 0, extend);
        put(memory, fc::kWaitGreen, n, 0, green && !fixed && !extend);
        put(memory, fc::kExtendGreen2, n, 0, 0);
        put(memory, fc::kFollowGreen, n, 0, 0);
        put(memory, fc::kGuaranteedRed, n, 0, redGuarantee);
        put(memory, fc::kRedBeforeGreen, n, 0, beforeGreen);
        put(memory, fc::kWaitRed, n, 0, red && !redGuarantee && !beforeGreen);
        put(memory, fc::kRequest, n, 0, run.requested);

        put(memory, fc::kFixedGreenRunning, n, 0, fixed ? elapsed : 0);
        int32_t guaranteedGreen = guaranteedGreenOf(memory, n, run.fixedGreen);
        put(memory, fc::kGuaranteedGreenRunning, n, 0, green && elapsed < guaranteedGreen ? elapsed : 0);
        put(memory, fc::kGuaranteedRedRunning, n, 0, redGuarantee ? elapsed : 0);
        put(memory, fc::kAmberRunning, n, 0, amber ? elapsed : 0);
        put(memory, fc::kMaxGreenRunning, n, 0, green && !fixed ? elapsed - run.fixedGreen : 0);
        put(memory, fc::kInternalState, n, 0, green ? 1 : amber ? 2 : 0);

        // Clearance times run from the moment a group turns red towards each group in conflict.
        for (int other : conflictsOf_[g]) {
            int32_t to = application_.groups[other].arrayNumber;
            int32_t clearance = clearanceOf(memory, n, to);
            bool running = red && elapsed < clearance;
            put(memory, fc::kClearanceRunning, n, to, running ? elapsed : 0);
        }
    }
    for (size_t s = 0; s < stages_.size(); ++s) {
        put(memory, fc::kBlock, 0, static_cast<int32_t>(s),
            static_cast<int>(s) == stage_ && !stages_.empty());
    }
}

void FixedTimePlan::writeDetectors(ControllerMemory& memory) const {
    for (size_t i = 0; i < detectors_.size(); ++i) {
        const DetectorRun& d = detectors_[i];
        int32_t n = application_.detectors[i].arrayNumber;
        if (n < 0) continue;
        int32_t elapsed = static_cast<int32_t>(std::min<int64_t>(now_ - d.since, 0x0FFF));
        int32_t occupancyTime = loadAt(memory, fc::kOccupancyTime, n);
        int32_t gapTime = loadAt(memory, fc::kGapTime1, n);
        put(memory, fc::kDetectorOccupied, n, 0, d.occupied);
        put(memory, fc::kOccupancyRunning, n, 0, d.occupied && elapsed < occupancyTime);
        put(memory, fc::kGapRunning, n, 0, !d.occupied && elapsed < gapTime);
        put(memory, fc::kOccupiedFor, n, 0, d.occupied ? elapsed : 0);
    }
}

void FixedTimePlan::writeCounters(ControllerMemory& memory, int64_t localSeconds) const {
    CalendarTime t = calendarFromSeconds(localSeconds);
    put(memory, fc::kDate, 0, 0, datumValue(t));
    put(memory, fc::kTime, 0, 0, tijdValue(t));
    put(memory, fc::kWeekday, 0, 0, t.weekday);
    put(memory, fc::kVersion, 0, 0, kVersion);
    put(memory, fc::kDayOfMonth, 0, 0, t.day);
    put(memory, fc::kMonth, 0, 0, t.month);
    put(memory, fc::kYear, 0, 0, t.year);
    if (!memory.contains({fc::kCycleCounter, 0, 0})) put(memory, fc::kCycleCounter, 0, 0, 0);

    // A clock is active between its first and its second time; a first time after the second
    // spans midnight.
    int32_t nowTime = clockTimeValue(t);
    for (int32_t n : application_.clocks) {
        if (n < 0) continue;
        int32_t from = loadAt(memory, fc::kClockTime1, n);
        int32_t to = loadAt(memory, fc::kClockTime2, n);
        bool active = from <= to ? (nowTime >= from && nowTime < to) : (nowTime >= from || nowTime < to);
        put(memory, fc::kClockActive, n, 0, active);
    }
}

void FixedTimePlan::publish(ControllerMemory& memory, int64_t localSeconds) {
    writeGroups(memory);
    writeDetectors(memory);
    writeCounters(memory, localSeconds);
}

void FixedTimePlan::step(ControllerMemory& memory, int64_t localSeconds) {
    ++now_;
    stepDetectors();
    stepLights(memory);
    publish(memory, localSeconds);
}

}  // namespace tavir::sim
