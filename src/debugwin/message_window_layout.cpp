#include "debugwin/message_window_layout.h"

namespace tavir {

WindowPlace initialMessageWindowPlace(int clientWidth, int clientHeight) {
    return {0, (2 * clientHeight) / 3, clientWidth, clientHeight / 3};
}

WindowPlace dockedMessageWindowPlace(int clientWidth, int clientHeight, int outerHeight, int innerHeight) {
    int frame = (outerHeight - innerHeight + 1) / 2;
    int height = outerHeight < clientHeight ? outerHeight : clientHeight;
    return {0, clientHeight - height + frame, clientWidth, height};
}

}  // namespace tavir
