#pragma once
#include "debugwin/window_list.h"

namespace tavir {

// The menu items whose state follows the number of child windows, in the order UpdateMenu sets
// them; the others keep the state the menu resource gives them.
inline constexpr int kUpdatedMenuItems[] = {40015, 40018, 40019, 40022, 40031, 40032,
                                            40001, 40026, 40029, 40030, 40033};

// Whether UpdateMenu enables item id (one of kUpdatedMenuItems) with childCount child windows.
bool menuItemEnabled(int id, int childCount);

}  // namespace tavir
