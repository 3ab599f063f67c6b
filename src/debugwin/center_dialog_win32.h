#pragma once
#include <windows.h>

namespace tavir {

// Moves dialog, without changing its size or z-order, to the middle of owner, inside the screen.
void CenterDialog(HWND dialog, HWND owner);

}  // namespace tavir
