#pragma once
#include "debugwin/window_list.h"

namespace tavir {

// "Debugger %3.3d" with the debugger number: the first part of the window title.
void formatBaseTitle(int number, char (&title)[kTitleCapacity]);

// "Selecteer debug bestand van Kalvoor %3.3d": the title of the open-file dialog.
void formatOpenFileTitle(int number, char (&title)[kTitleCapacity]);

}  // namespace tavir
