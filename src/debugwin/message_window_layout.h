#pragma once

namespace tavir {

struct WindowPlace {
    int x, y, width, height;
};

// The message window when it is created: the lower third of the debugger window's client area.
WindowPlace initialMessageWindowPlace(int clientWidth, int clientHeight);

// The message window docked along the bottom of the debugger window's client area. It keeps its
// outer height (at most the client height); half its sizing frame lies below the client area, so
// that only the top border shows as the split between the child windows and the messages.
WindowPlace dockedMessageWindowPlace(int clientWidth, int clientHeight, int outerHeight, int innerHeight);

}  // namespace tavir
