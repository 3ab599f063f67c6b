#pragma once
#include "base/message_boxes.h"
#include "base/message_log.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir {

enum class DefinitionsResult {
    kLoaded,             // the macros and the application definition files were read
    kHeaderPathTooLong,  // the debugger runs without application definitions and child windows
    kFailed,             // a message box has said why; the debugger window is to be closed
};

// The definition part of the start-up: LoadApplication in the definition directory, and the
// message box that tells why the debugger cannot go on.
DefinitionsResult LoadDefinitions(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                                  MessageBoxes& boxes, const char* definitionDirectory);

}  // namespace tavir
