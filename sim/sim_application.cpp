#include "sim_application.h"

namespace tavir::sim {

int detectorGroup(const SimApplication& application, const std::string& detectorName) {
    int best = -1;
    size_t bestLength = 0;
    for (size_t i = 0; i < application.groups.size(); ++i) {
        const std::string& name = application.groups[i].name;
        if (!name.empty() && name.size() > bestLength && detectorName.compare(0, name.size(), name) == 0) {
            best = static_cast<int>(i);
            bestLength = name.size();
        }
    }
    return best;
}

}  // namespace tavir::sim
