#pragma once
// Which child windows keep their controls. A child window's labels and item controls are made
// when it is shown, and stay while it is hidden, so that showing it again is quick; but 200
// windows of 300 controls would be six times what the platform lets one program hold. The
// controls of all child windows together therefore stay within a budget: before a window makes
// its controls, the hidden windows shown least recently give theirs up until the new ones fit.
#include <cstdint>
#include <vector>

namespace tavir {

// With the 200 child windows themselves and the few windows of the debugger window and its
// dialogs, the process stays near 7,300 windows: below the 10,000 the platform allows a program
// by default, with room for what else it counts against that limit (menus, icons).
constexpr int32_t kControlBudget = 7000;

// A child window as the window side knows it; the budget only compares them.
using BudgetWindow = uintptr_t;

struct ControlHolder {
    BudgetWindow window;
    int32_t controls;
};

struct ControlBudget {
    int32_t limit = kControlBudget;
    int32_t held = 0;                    // the controls of all holders together
    std::vector<ControlHolder> holders;  // the windows that hold controls, least recently shown first
};

// A window that holds no controls is about to make needed of them: gives the windows whose
// controls are to be destroyed first, least recently shown first, so that they fit; those no
// longer count. Gives none when they fit already, and never more than every holder.
std::vector<BudgetWindow> makeRoom(ControlBudget& budget, int32_t needed);

// A window that holds no controls is to make needed of them ahead of its showing, while the
// windows in kept (the current window, the other neighbour) keep theirs: gives false when they
// would not fit so; else true and, in going, the windows whose controls are to be destroyed first,
// least recently shown first. Nothing changes: each counts until it is released.
bool roomKeeping(const ControlBudget& budget, int32_t needed, const std::vector<BudgetWindow>& kept,
                 std::vector<BudgetWindow>& going);

// window holds controls controls (0 or more) and was shown last.
void holdControls(ControlBudget& budget, BudgetWindow window, int32_t controls);

// window's controls are gone, or the window itself; one that holds none is passed over.
void releaseControls(ControlBudget& budget, BudgetWindow window);

}  // namespace tavir
