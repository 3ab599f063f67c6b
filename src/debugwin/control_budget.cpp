#include "debugwin/control_budget.h"

#include <algorithm>
#include <cstddef>

namespace tavir {

std::vector<BudgetWindow> makeRoom(ControlBudget& budget, int32_t needed) {
    std::vector<BudgetWindow> destroyed;
    auto& holders = budget.holders;
    size_t taken = 0;
    while (taken < holders.size() && budget.held + needed > budget.limit) {
        budget.held -= holders[taken].controls;
        destroyed.push_back(holders[taken].window);
        ++taken;
    }
    holders.erase(holders.begin(), holders.begin() + static_cast<std::ptrdiff_t>(taken));
    return destroyed;
}

bool roomKeeping(const ControlBudget& budget, int32_t needed, const std::vector<BudgetWindow>& kept,
                 std::vector<BudgetWindow>& going) {
    int32_t held = budget.held;
    going.clear();
    for (const ControlHolder& holder : budget.holders) {
        if (held + needed <= budget.limit) break;
        if (std::find(kept.begin(), kept.end(), holder.window) != kept.end()) continue;
        held -= holder.controls;
        going.push_back(holder.window);
    }
    return held + needed <= budget.limit;
}

void holdControls(ControlBudget& budget, BudgetWindow window, int32_t controls) {
    releaseControls(budget, window);
    budget.holders.push_back({window, controls});
    budget.held += controls;
}

void releaseControls(ControlBudget& budget, BudgetWindow window) {
    auto& holders = budget.holders;
    auto found = std::find_if(holders.begin(), holders.end(),
                              [window](const ControlHolder& holder) { return holder.window == window; });
    if (found == holders.end()) return;
    budget.held -= found->controls;
    holders.erase(found);
}

}  // namespace tavir
