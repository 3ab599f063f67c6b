#pragma once
// Reading a debug window file into a child window's record, and making the window's controls from
// that record. The first 24 lines are a picture of the screen: words become labels, a run of
// tildes with two digits becomes an item field. The lines after it define the items by number:
// function code, then object numbers, each a number or a name the MacroTable knows.
#include <cstdint>

#include "base/message_log.h"
#include "debugwin/child_window_data.h"
#include "definitions/macro_table.h"

namespace tavir {

constexpr int kScreenRows = 24;
constexpr int kMaxItemTildes = 16;

// Makes the controls of a child window from its record: the window side creates the platform's
// controls, tests keep what they are asked for.
class DebugWindowBuilder {
public:
    virtual ~DebugWindowBuilder() = default;
    // A visible static text showing text, control id kLabelControlBase + labelNumber, in its
    // place on the window's grid. None when it cannot be made.
    virtual ControlHandle addLabel(int labelNumber, const char* text) = 0;
    // The item's control, a checkbox when isCheckbox is set and an edit field otherwise, with
    // control id item.index and the item as its record, showing what the item keeps of its text
    // and check mark, in its place on the window's grid. None when it cannot be made.
    virtual ControlHandle addItem(DebugItem& item) = 0;
};

// Reads the file at path into child, which is as a new ChildWindowData starts: the column and
// row counts, the labels with their words, the items and their definitions, which items have a
// control (kItemHasControl, at the end of the definitions) and the item index. Names are looked
// up in macros. Messages go to log, prefixed with the file and the line while the file is open.
// No control is made here: a window makes them when it is shown (makeWindowControls).
// Gives -1 when the file cannot be opened, the screen part has a fatal error or the item index
// cannot be made (the caller then destroys the child window); 0 otherwise, whatever the
// definition part found.
int loadDebugWindowFile(ChildWindowData& child, const char* path, MessageLog& log, const MacroTable& macros);

// The controls makeWindowControls would make for child: its labels and the items with a control.
int wantedControls(const ChildWindowData& child);

// How far the making of a window's controls has come: they may be made a few at a time ahead of
// the window's showing. The items with a control come first, in item order, then the labels in
// label order: each control made lies below those made before it, so the items lie above the
// labels without being moved.
struct ControlMaking {
    int32_t next = 0;  // an item index, or itemCount plus a label number
    int32_t made = 0;  // the controls made so far
};

// Makes the controls of a loaded window from where making stands (a window that has none starts
// from a new ControlMaking), through builder. A label that cannot be made is left out until the
// controls are made again, and one warning counts them; an item whose control cannot be made is
// reported ("Venster voor item %d kon niet worden aangemaakt") and has no control from then on.
// The lines carry path as their file prefix. Gives the number of controls made in all.
int makeWindowControls(ChildWindowData& child, const char* path, MessageLog& log, DebugWindowBuilder& builder,
                       ControlMaking& making);
int makeWindowControls(ChildWindowData& child, const char* path, MessageLog& log,
                       DebugWindowBuilder& builder);

// Makes the next control of the window ahead of its showing: gives 1 when one was made, 0 when
// none is left, -1 when it could not be made. Nothing is reported and nothing is left out: a
// window whose controls cannot all be made ahead makes them when it is shown.
int makeNextControl(ChildWindowData& child, ControlMaking& making, DebugWindowBuilder& builder);

}  // namespace tavir
