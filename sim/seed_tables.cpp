#include "seed_tables.h"

#include <cmath>
#include <memory>

#include "base/join_path.h"
#include "definitions/macro_table.h"
#include "function_codes.h"

namespace tavir::sim {

namespace {

void put(ControllerMemory& memory, int& stored, int32_t code, int32_t number, int32_t block, int32_t value) {
    if (memory.store({code, number, block}, value)) ++stored;
}

// The parameter tools pass over MG and detector times that are unset.
bool isSet(double time) {
    return time > -0.1;
}

}  // namespace

int32_t scaledValue(double value, double scale) {
    // The parameter tools find a value equal when it lies within 0.1 of the product; a product
    // just below an integer (4.35 * 100 = 434.99999999999994) would differ if it were truncated.
    double product = std::round(value * scale);
    if (!(product >= -2147483648.0)) return INT32_MIN;  // also NaN
    if (product > 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(product);
}

int seedParameters(const ApplicationTables& t, ControllerMemory& memory) {
    int stored = 0;
    int clearances = usableCount(t.numClearances, kClearanceCapacity);
    for (int i = 0; i < clearances; ++i) {
        const ClearanceEntry& c = t.clearances[i];
        put(memory, stored, fc::kClearanceTime, c.fromNumber, c.toNumber, scaledValue(c.clearanceTime, 10));
    }

    int groups = usableCount(t.counts.numSignalGroups, kSignalGroupCapacity);
    for (int i = 0; i < groups; ++i) {
        const SignalGroupRecord& g = t.signalGroups[i];
        if (g.name[0] != '\0') {
            put(memory, stored, fc::kFixedGreenTime, g.arrayNumber, 0, scaledValue(g.vgTime, 10));
            put(memory, stored, fc::kAmberTime, g.arrayNumber, 0, scaledValue(g.glTime, 10));
        }
        if (g.arrayNumber < 0) continue;
        if (isSet(g.mgTime))
            put(memory, stored, fc::kMaxGreenTime, g.arrayNumber, 0, scaledValue(g.mgTime, 10));
        for (int k = 1; k <= 12; ++k) {
            // 337 and 338 are not extra MG times.
            int32_t code = k <= 6 ? fc::kExtraMaxGreenTime1 + k - 1 : fc::kExtraMaxGreenTime7 + k - 7;
            double time = g.extraMgTimes[k - 1];
            if (isSet(time)) put(memory, stored, code, g.arrayNumber, 0, scaledValue(time, 10));
        }
    }

    int detectors = usableCount(t.counts.numDetectors, kDetectorCapacity);
    for (int i = 0; i < detectors; ++i) {
        const DetectorRecord& d = t.detectors[i];
        if (d.arrayNumber < 0) continue;
        if (isSet(d.gapTime1))
            put(memory, stored, fc::kGapTime1, d.arrayNumber, 0, scaledValue(d.gapTime1, 10));
        if (isSet(d.gapTime2))
            put(memory, stored, fc::kGapTime2, d.arrayNumber, 0, scaledValue(d.gapTime2, 10));
        if (isSet(d.occupancyTime)) {
            put(memory, stored, fc::kOccupancyTime, d.arrayNumber, 0, scaledValue(d.occupancyTime, 10));
        }
    }

    int timers = usableCount(t.counts.numTimers, kTimerCapacity);
    for (int i = 0; i < timers; ++i) {
        put(memory, stored, fc::kTimer, t.timers[i].arrayNumber, 0, scaledValue(t.timers[i].time, 10));
    }
    int clocks = usableCount(t.counts.numClocks, kClockCapacity);
    for (int i = 0; i < clocks; ++i) {
        put(memory, stored, fc::kClockTime1, t.clocks[i].arrayNumber, 0, scaledValue(t.clocks[i].time1, 100));
        put(memory, stored, fc::kClockTime2, t.clocks[i].arrayNumber, 0, scaledValue(t.clocks[i].time2, 100));
    }
    int switches = usableCount(t.counts.numSwitches, kSwitchCapacity);
    for (int i = 0; i < switches; ++i) {
        put(memory, stored, fc::kSwitch, t.switches[i].arrayNumber, 0, t.switches[i].value);
    }
    int eggparms = usableCount(t.counts.numEggparms, kEggparmCapacity);
    for (int i = 0; i < eggparms; ++i) {
        put(memory, stored, fc::kEggparm, t.eggparms[i].arrayNumber, 0, t.eggparms[i].value);
    }
    int eparms = usableCount(t.counts.numEparms, kEparmCapacity);
    for (int i = 0; i < eparms; ++i) {
        put(memory, stored, fc::kEparm, t.eparms[i].arrayNumber, 0, scaledValue(t.eparms[i].value, 10));
    }
    return stored;
}

std::string plantDifference(const ApplicationTables& t, ControllerMemory& memory) {
    const int groups = usableCount(t.counts.numSignalGroups, kSignalGroupCapacity);
    for (int i = 0; i < groups; ++i) {
        const SignalGroupRecord& g = t.signalGroups[i];
        if (g.name[0] == '\0' || g.arrayNumber < 0) continue;
        const SimAddress address{fc::kFixedGreenTime, g.arrayNumber, 0};
        memory.store(address, memory.load(address) + 1);
        return g.name;
    }
    return "";
}

SimApplication applicationFromTables(const ApplicationTables& t) {
    SimApplication application;
    int groups = usableCount(t.counts.numSignalGroups, kSignalGroupCapacity);
    for (int i = 0; i < groups; ++i) {
        const SignalGroupRecord& g = t.signalGroups[i];
        if (g.name[0] != '\0' && g.arrayNumber >= 0) application.groups.push_back({g.name, g.arrayNumber});
    }
    int detectors = usableCount(t.counts.numDetectors, kDetectorCapacity);
    for (int i = 0; i < detectors; ++i) {
        const DetectorRecord& d = t.detectors[i];
        if (d.arrayNumber >= 0) application.detectors.push_back({d.name, d.arrayNumber, -1});
    }
    int clearances = usableCount(t.numClearances, kClearanceCapacity);
    for (int i = 0; i < clearances; ++i) {
        application.conflicts.push_back({t.clearances[i].fromNumber, t.clearances[i].toNumber});
    }
    int clocks = usableCount(t.counts.numClocks, kClockCapacity);
    for (int i = 0; i < clocks; ++i) {
        if (t.clocks[i].arrayNumber >= 0) application.clocks.push_back(t.clocks[i].arrayNumber);
    }
    return application;
}

ApplicationLoad loadApplicationDirectory(const std::string& dir, ApplicationTables& tables, MessageLog& log) {
    // The names are needed only while the files are read.
    auto macros = std::make_unique<MacroTable>();
    clearMacroTable(*macros);
    return LoadApplication(*macros, tables, log, withHostSeparator(dir).c_str());
}

}  // namespace tavir::sim
