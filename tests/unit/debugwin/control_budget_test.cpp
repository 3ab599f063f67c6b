// The budget of controls: which hidden windows give up their controls when another is shown.
#include "debugwin/control_budget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tavir {
namespace {

// A window shown (count: the controls it makes when it holds none) or closed (count -1), with the
// windows whose controls go first and the controls held afterwards, under a budget of 1,000. A
// window made ahead of its showing keeps the controls of the windows in kept, or is not made.
struct Step {
    BudgetWindow window;
    int32_t count;
    std::vector<BudgetWindow> destroyed;
    int32_t held;
    bool ahead = false;
    std::vector<BudgetWindow> kept = {};
};

TEST(ControlBudget, TheWindowsShownLeastRecentlyGiveUpTheirControls) {
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"within the budget nothing goes", {{1, 300, {}, 300}, {2, 300, {}, 600}, {3, 400, {}, 1000}}},
        {"paging on: the oldest go, as many as needed",
         {{1, 300, {}, 300},
          {2, 300, {}, 600},
          {3, 300, {}, 900},
          {4, 301, {1}, 901},
          {5, 600, {2, 3}, 901}}},
        {"a window shown again is the most recent",
         {{1, 300, {}, 300}, {2, 300, {}, 600}, {3, 300, {}, 900}, {1, 300, {}, 900}, {4, 300, {2}, 900}}},
        {"a closed window no longer counts",
         {{1, 300, {}, 300}, {2, 300, {}, 600}, {1, -1, {}, 300}, {3, 700, {}, 1000}, {4, 1, {2}, 701}}},
        {"a window as large as the budget leaves no other",
         {{1, 10, {}, 10}, {2, 20, {}, 30}, {3, 1000, {1, 2}, 1000}}},
        {"a window beyond the budget still shows", {{1, 300, {}, 300}, {2, 1200, {1}, 1200}, {3, 1, {2}, 1}}},
        {"a window that made no control holds none", {{1, 0, {}, 0}, {2, 1000, {}, 1000}, {1, 0, {}, 1000}}},
        {"made ahead: the windows kept keep theirs",
         {{1, 300, {}, 300}, {2, 300, {}, 600}, {3, 300, {}, 900}, {4, 300, {2}, 900, true, {1, 3}}}},
        {"made ahead only where it fits without the windows kept",
         {{1, 600, {}, 600},
          {2, 300, {}, 900},
          {3, 300, {}, 900, true, {1, 2}},
          {3, 100, {}, 1000, true, {1}}}},
    };
    for (const auto& c : cases) {
        ControlBudget budget;
        budget.limit = 1000;
        std::vector<BudgetWindow> holding;
        for (const Step& step : c.steps) {
            const std::string at = std::string(c.what) + ", window " + std::to_string(step.window);
            std::vector<BudgetWindow> destroyed;
            const bool holds = std::find(holding.begin(), holding.end(), step.window) != holding.end();
            bool made = step.count >= 0;
            if (step.count < 0) {
                releaseControls(budget, step.window);
            } else if (holds) {
                holdControls(budget, step.window, step.count);
            } else if (step.ahead) {
                made = roomKeeping(budget, step.count, step.kept, destroyed);
                if (!made) destroyed.clear();
                for (BudgetWindow gone : destroyed) releaseControls(budget, gone);
                if (made) holdControls(budget, step.window, step.count);
            } else {
                destroyed = makeRoom(budget, step.count);
                holdControls(budget, step.window, step.count);
            }
            auto forget = [&holding](BudgetWindow gone) {
                holding.erase(std::remove(holding.begin(), holding.end(), gone), holding.end());
            };
            for (BudgetWindow gone : destroyed) forget(gone);
            forget(step.window);
            if (made) holding.push_back(step.window);
            EXPECT_EQ(destroyed, step.destroyed) << at;
            EXPECT_EQ(budget.held, step.held) << at;
            EXPECT_EQ(budget.holders.size(), holding.size()) << at;
        }
    }
}

}  // namespace
}  // namespace tavir
