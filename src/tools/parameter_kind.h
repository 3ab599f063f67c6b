#pragma once
// The ten kinds of parameter that the differences tool, the adjustment and the sweep work on, in
// the order in which every run, check and reset visits them.
#include <cstdint>
#include <vector>

#include "definitions/object_tables.h"

namespace tavir {

enum class ParameterKind : uint8_t {
    ONT,      // clearance times
    VG,       // signal-group VG times
    GL,       // signal-group GL times
    MG,       // signal-group MG times and the twelve extra MG times
    HIAAT,    // detector gap and occupancy times
    TIJD,     // timers
    KLOK,     // clocks
    SCH,      // switches
    EGGPARM,  // extra integer parameters
    EPARM,    // extra parameters
};
constexpr int kParameterKindCount = 10;

constexpr ParameterKind kindAt(int index) {
    return static_cast<ParameterKind>(index);
}
constexpr int kindIndex(ParameterKind kind) {
    return static_cast<int>(kind);
}

// The kinds a run takes. The sweep's two switch boxes both select SCH.
struct KindSelection {
    bool selected[kParameterKindCount] = {};

    bool has(ParameterKind kind) const { return selected[kindIndex(kind)]; }
    void set(ParameterKind kind, bool on) { selected[kindIndex(kind)] = on; }
    static KindSelection all() {
        KindSelection s;
        for (bool& b : s.selected) b = true;
        return s;
    }
};

// The factor between a table value (seconds, or hh.mm for clocks) and the integer the controller
// holds: 10, 100 for clocks, 1 for switches and EGGPARMs, whose table values are integers.
int kindScale(ParameterKind kind);
bool kindHoldsIntegers(ParameterKind kind);

// The entries a kind walks per pass (the usable records of its table) and its number of passes.
int kindEntryCount(ParameterKind kind, const ApplicationTables& tables);
int kindPassCount(ParameterKind kind);

// A kind can be chosen only when its table holds entries.
bool kindAvailable(ParameterKind kind, const ApplicationTables& tables);

// What the progress bar counts: one step per entry visited in every pass of every selected,
// available kind, so that a run ends with the bar exactly full.
int progressTotal(const KindSelection& kinds, const ApplicationTables& tables);

// The kinds a run visits: the selected ones whose tables are not empty, in the walk's order.
std::vector<ParameterKind> runKinds(const KindSelection& kinds, const ApplicationTables& tables);

}  // namespace tavir
