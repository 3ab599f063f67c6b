#include "debugwin/center_dialog.h"

namespace tavir {

namespace {

int centeredStart(int ownerStart, int ownerSize, int size, int screenSize) {
    int start = ownerStart + (ownerSize - size) / 2;
    if (start < 0) start = 0;
    if (start + size > screenSize) start = screenSize - size;
    return start;
}

}  // namespace

ScreenPoint centeredOrigin(const ScreenRect& owner, int dialogWidth, int dialogHeight, int screenWidth,
                           int screenHeight) {
    return {centeredStart(owner.left, owner.right - owner.left, dialogWidth, screenWidth),
            centeredStart(owner.top, owner.bottom - owner.top, dialogHeight, screenHeight)};
}

}  // namespace tavir
