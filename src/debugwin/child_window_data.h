#pragma once
// What a debug child window holds: its character grid, its labels with their words and its items
// in file order, and the index that finds an item for a received value. The loader fills it; the
// window side attaches it to the child window, makes its controls from it when the window is
// shown, and frees the index with it.
#include <cstdint>

#include "debugwin/debug_item.h"
#include "link/item_index.h"

namespace tavir {

constexpr int kMaxDebugItems = 500;
constexpr int kMaxLabels = 200;
constexpr int kLabelControlBase = 500;  // a label's control id is this plus its label number
// The words of all labels, each with its NUL: a screen line of 255 characters holds at most 256
// of them together, and there are 24 screen lines.
constexpr int kLabelTextCapacity = 24 * 256;

struct DebugLabel {
    ControlHandle window;  // the static text control, none while it is not made
    int32_t length;        // in characters
    int32_t column;
    int32_t row;
    int32_t text;  // where its word begins in labelTexts
};

struct ChildWindowData {
    ControlHandle window = nullptr;  // the child window itself
    int32_t columns = 1;             // width of the character grid
    int32_t rows = 1;                // height of the character grid
    int32_t labelCount = 0;
    int32_t itemCount = 0;
    int32_t focusedItem = -1;
    ItemIndex* itemIndex = nullptr;  // owned; DestroyItemIndex when the window goes
    DebugItem items[kMaxDebugItems];
    DebugLabel labels[kMaxLabels] = {};
    int32_t labelTextLength = 0;  // used of labelTexts
    char labelTexts[kLabelTextCapacity] = {};
};

// The word of label number label.
inline const char* labelText(const ChildWindowData& child, int label) {
    return child.labelTexts + child.labels[label].text;
}

}  // namespace tavir
