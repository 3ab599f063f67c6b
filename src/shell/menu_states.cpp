#include "shell/menu_states.h"

#include "resources/tavir_rc.h"

namespace tavir {

bool menuItemEnabled(int id, int childCount) {
    switch (id) {
        case IDM_CLOSE_WINDOWS:
        case IDM_DISPLAY_ON:
        case IDM_DISPLAY_OFF:
        case IDM_CHOOSE_WINDOW:
            return childCount >= 1;
        case IDM_PREVIOUS_WINDOW:
        case IDM_NEXT_WINDOW:
            return childCount >= 2;
        case IDM_OPEN:
            return childCount < kMaxChildWindows;
        default:
            // The four batch tools can be opened whatever windows exist.
            return true;
    }
}

}  // namespace tavir
