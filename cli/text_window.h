#pragma once
// A debug window file loaded without a window system: the same loader as the debugger's child
// windows, with controls that are plain records. The checker and the terminal view read it.
#include <memory>

#include "base/message_log.h"
#include "debugwin/child_window_data.h"
#include "definitions/macro_table.h"

namespace tavir::cli {

struct TextWindow {
    ChildWindowData data;
    TextWindow() = default;
    ~TextWindow();
    TextWindow(const TextWindow&) = delete;
    TextWindow& operator=(const TextWindow&) = delete;
};

// Loads path as the debugger's child window creation does; none when the loader refuses the
// file (its lines are in log). The record is large, so it lives on the heap.
std::unique_ptr<TextWindow> loadTextWindow(const char* path, MessageLog& log, const MacroTable& macros);

}  // namespace tavir::cli
