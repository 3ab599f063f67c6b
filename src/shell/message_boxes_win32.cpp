#include "shell/message_boxes_win32.h"

#include <windows.h>

namespace tavir {

void Win32MessageBoxes::show(const char* text, const char* caption, unsigned style) {
    MessageBoxA(nullptr, text, caption, style);
}

}  // namespace tavir
