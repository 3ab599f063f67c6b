#pragma once
#include <windows.h>

#include <cstdint>

#include "shell/program_win32.h"

namespace tavir {

// The start-up of debugger window number of program: the window with its link and message
// window, the definitions, and the debug window files. Gives the window, or none when the program
// is to end.
HWND OpenDebugger(Program& program, int32_t number, const char* definitionDirectory,
                  const char* debugDirectory);

}  // namespace tavir
