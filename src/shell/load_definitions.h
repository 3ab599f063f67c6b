#pragma once
#include "base/message_log.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"
#include "base/message_boxes.h"

namespace tavir {

enum class DefinitionsResult {
    kLoaded,             // the macros and the application definition files were read
    kHeaderPathTooLong,  // the debugger runs without application definitions and child windows
    kFailed,             // a message box has said why; the debugger window is to be closed
};

// The definition part of the start-up: the built-in macros, then KVAPDEF.H in the definition
// directory and, from it, KVAPTAB.C, each announced by its line in the message window.
DefinitionsResult LoadDefinitions(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                                  MessageBoxes& boxes, const char* definitionDirectory);

}  // namespace tavir
