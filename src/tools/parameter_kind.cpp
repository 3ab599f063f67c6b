#include "tools/parameter_kind.h"

namespace tavir {

int kindScale(ParameterKind kind) {
    switch (kind) {
        case ParameterKind::KLOK:
            return 100;
        case ParameterKind::SCH:
        case ParameterKind::EGGPARM:
            return 1;
        default:
            return 10;
    }
}

bool kindHoldsIntegers(ParameterKind kind) {
    return kind == ParameterKind::SCH || kind == ParameterKind::EGGPARM;
}

int kindEntryCount(ParameterKind kind, const ApplicationTables& tables) {
    const ApplicationCounts& c = tables.counts;
    switch (kind) {
        case ParameterKind::ONT:
            return usableCount(tables.numClearances, kClearanceCapacity);
        case ParameterKind::VG:
        case ParameterKind::GL:
        case ParameterKind::MG:
            return usableCount(c.numSignalGroups, kSignalGroupCapacity);
        case ParameterKind::HIAAT:
            return usableCount(c.numDetectors, kDetectorCapacity);
        case ParameterKind::TIJD:
            return usableCount(c.numTimers, kTimerCapacity);
        case ParameterKind::KLOK:
            return usableCount(c.numClocks, kClockCapacity);
        case ParameterKind::SCH:
            return usableCount(c.numSwitches, kSwitchCapacity);
        case ParameterKind::EGGPARM:
            return usableCount(c.numEggparms, kEggparmCapacity);
        case ParameterKind::EPARM:
            return usableCount(c.numEparms, kEparmCapacity);
    }
    return 0;
}

int kindPassCount(ParameterKind kind) {
    switch (kind) {
        case ParameterKind::MG:
            return 13;
        case ParameterKind::HIAAT:
            return 3;
        case ParameterKind::KLOK:
            return 2;
        default:
            return 1;
    }
}

bool kindAvailable(ParameterKind kind, const ApplicationTables& tables) {
    return kindEntryCount(kind, tables) > 0;
}

int progressTotal(const KindSelection& kinds, const ApplicationTables& tables) {
    int total = 0;
    for (int i = 0; i < kParameterKindCount; ++i) {
        if (kinds.selected[i]) total += kindPassCount(kindAt(i)) * kindEntryCount(kindAt(i), tables);
    }
    return total;
}

std::vector<ParameterKind> runKinds(const KindSelection& kinds, const ApplicationTables& tables) {
    std::vector<ParameterKind> visited;
    for (int i = 0; i < kParameterKindCount; ++i) {
        const ParameterKind kind = kindAt(i);
        if (kinds.has(kind) && kindAvailable(kind, tables)) visited.push_back(kind);
    }
    return visited;
}

}  // namespace tavir
