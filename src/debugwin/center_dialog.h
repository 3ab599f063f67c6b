#pragma once

namespace tavir {

struct ScreenRect {
    int left, top, right, bottom;
};

struct ScreenPoint {
    int x, y;
};

// Where a dialog of the given size goes to be centred over owner: never left of or above the
// screen's origin, and pulled back when it would reach past the right or bottom edge.
ScreenPoint centeredOrigin(const ScreenRect& owner, int dialogWidth, int dialogHeight, int screenWidth,
                           int screenHeight);

}  // namespace tavir
