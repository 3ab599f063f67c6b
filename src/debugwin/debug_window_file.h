#pragma once
// Reading a debug window file into a child window's record. The first 24 lines are a picture of
// the screen: words become labels, a run of tildes with two digits becomes an item field. The
// lines after it define the items by number: function code, then object numbers, each a number
// or a name the MacroTable knows.
#include "base/message_log.h"
#include "debugwin/child_window_data.h"
#include "definitions/macro_table.h"

namespace tavir {

constexpr int kScreenRows = 24;
constexpr int kMaxItemTildes = 16;

// Makes the controls of a child window while its file is read: the window side creates the
// platform's controls, tests keep what they are asked for.
class DebugWindowBuilder {
public:
    virtual ~DebugWindowBuilder() = default;
    // A visible static text showing text, control id kLabelControlBase + labelNumber, at 0,0 and
    // of size 0 (the window's layout places it). None when it cannot be made: the word is left out.
    virtual ControlHandle addLabel(int labelNumber, const char* text) = 0;
    // The item's control, a checkbox when isCheckbox is set and an edit field otherwise, with
    // control id item.index and the item as its record. None when it cannot be made.
    virtual ControlHandle addItem(DebugItem& item) = 0;
};

// Reads the file at path into child, which is as a new ChildWindowData starts: the column and
// row counts, the labels, the items and their definitions, the item controls (at the end of the
// definitions) and the item index. Names are looked up in macros. Messages go to log, prefixed
// with the file and the line while the file is open.
// Gives -1 when the file cannot be opened, the screen part has a fatal error or the item index
// cannot be made (the caller then destroys the child window); 0 otherwise, whatever the
// definition part found.
int loadDebugWindowFile(ChildWindowData& child, const char* path, MessageLog& log, const MacroTable& macros,
                        DebugWindowBuilder& builder);

}  // namespace tavir
