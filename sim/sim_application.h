#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tavir::sim {

// What the plan needs to know of the controller application: its objects by array number. The
// parameter values themselves live in the controller memory, so that a Write from the debugger
// changes the running plan.
struct SimSignalGroup {
    std::string name;
    int32_t arrayNumber = -1;
};

struct SimDetector {
    std::string name;
    int32_t arrayNumber = -1;
    int group = -1;  // index into SimApplication::groups, -1 when it serves no signal group
};

struct SimConflict {
    int32_t fromNumber = 0;  // array numbers; the clearance time is at (384, from, to)
    int32_t toNumber = 0;
};

struct SimApplication {
    std::vector<SimSignalGroup> groups;
    std::vector<SimDetector> detectors;
    std::vector<SimConflict> conflicts;
    std::vector<int32_t> clocks;  // array numbers
};

// The signal group a detector serves: the group with the longest name that starts the
// detector's name (SG02_D1 serves SG02), or -1.
int detectorGroup(const SimApplication& application, const std::string& detectorName);

}  // namespace tavir::sim
