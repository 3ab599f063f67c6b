#pragma once
// One place on a debug child window that shows one controller value: a function code applied
// to one object, with what the window needs to lay it out, focus it and show its value.
#include <cstddef>
#include <cstdint>

#include "link/transport.h"
#include "link/value_record.h"

namespace tavir {

// A control made by the window side (an item control or a label); portable code only keeps it
// and asks whether there is one.
using ControlHandle = void*;

constexpr int kItemTextCapacity = 16;  // 15 characters and the NUL

// Bits of DebugItem::flags.
constexpr uint32_t kItemMonitored = 1u;
constexpr uint32_t kItemFocused = 2u;
// The item shows in a control on its window: it is defined, and its file's definitions were read
// to their end. The control is made when the window is shown; one that cannot be made clears it.
constexpr uint32_t kItemHasControl = 4u;
// The check mark its checkbox showed when the control was last destroyed with its window's
// hidden controls; a control made again shows it.
constexpr uint32_t kItemChecked = 8u;

struct DebugItem {
    ControlHandle window = nullptr;  // the item control; none without kItemHasControl, or not made yet
    int32_t index = -1;              // place in the item list, also the control id
    uint32_t flags = 0;
    int32_t editPending = 0;  // 1 after a keystroke that was neither committed nor discarded
    int32_t itemNumber = -1;  // the two digits of the screen field
    int32_t width = 0;        // tildes + 1, + 4 for a doubled display
    int32_t textLength = 0;
    int32_t column = 0;
    int32_t row = 0;
    int32_t doubledDisplay = 0;
    int32_t lastNonZero = 0;
    // functionCode to value lie as the fields of a ValueRecord do: they are the item's request
    // key, with isCheckbox in the record's spare place, which the link never sends.
    int32_t functionCode = -1;
    int32_t signalGroup = -1;  // signal group, EPARM, EGGPARM or intersection number
    int32_t block = -1;        // block, or the second signal group of the Onderlinge-tijd groups
    int32_t isCheckbox = 0;
    int32_t value = -1;
    // The value's text; while the control is not made, the text it showed when it was destroyed.
    char text[kItemTextCapacity] = {};
};

static_assert(offsetof(DebugItem, signalGroup) - offsetof(DebugItem, functionCode) ==
              offsetof(ValueRecord, number));
static_assert(offsetof(DebugItem, block) - offsetof(DebugItem, functionCode) == offsetof(ValueRecord, block));
static_assert(offsetof(DebugItem, isCheckbox) - offsetof(DebugItem, functionCode) ==
              offsetof(ValueRecord, spare));
static_assert(offsetof(DebugItem, value) - offsetof(DebugItem, functionCode) == offsetof(ValueRecord, value));

struct CategoryAttributes {
    bool needsSignalGroup;
    bool needsBlock;
    bool isCheckbox;
};

// What the function code's category (code / 32) asks of an item. functionCode is 0 to 511.
CategoryAttributes categoryAttributes(int32_t functionCode);

// The item's request key: functionCode, signalGroup, block, isCheckbox and value.
ValueRecord requestKey(const DebugItem& item);

// Sends the request of kind for the item; does nothing and gives -1 when the item has no control.
int requestForItem(Transport& link, const DebugItem& item, uint8_t kind);

// On: marks the item monitored and sends Read, then Monitor (also when it was monitored already).
// Off: sends Stop and clears the mark, only when the item was monitored.
void setItemMonitoring(Transport& link, DebugItem& item, bool on);

// A checkbox item's value flips between 0 and 1 and is written; a value item is left alone.
void toggleItem(Transport& link, DebugItem& item);

// Writes the item's current value.
void writeItem(Transport& link, const DebugItem& item);

}  // namespace tavir
