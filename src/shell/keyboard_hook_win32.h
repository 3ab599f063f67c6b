#pragma once

namespace tavir {

// A keyboard hook on the program's own thread that hands every key to the debugger window
// first, whatever control has the focus. 0, or -1 when the hook cannot be installed.
int InstallKeyboardHook();
void RemoveKeyboardHook();

}  // namespace tavir
