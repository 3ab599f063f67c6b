#pragma once
// Loading a controller application as the debugger does at start-up: the built-in macros, then
// KVAPDEF.H in the application's directory and, from it, KVAPTAB.C, each announced by its line.
// The debugger, tavir-cli and tavir-sim all load through here.
#include "base/join_path.h"
#include "base/message_log.h"
#include "definitions/macro_table.h"
#include "definitions/object_tables.h"

namespace tavir {

enum class ApplicationLoadResult {
    kLoaded,             // the macros and the application definition files were read
    kMacrosIncorrect,    // the built-in macro text could not be read
    kHeaderPathTooLong,  // the directory and "KVAPDEF.H" reach the path limit; nothing was read
    kHeaderRefused,      // KVAPDEF.H could not be opened, or one of its defines was refused
};

struct ApplicationLoad {
    ApplicationLoadResult result = ApplicationLoadResult::kMacrosIncorrect;
    // JoinPath's longest answer: the directory and the name with a separator between them.
    char headerPath[kPathCapacity + 1] = {};
    // Lines the readers reported; the two announcement lines are not counted.
    int reportedLines = 0;
};

// Reads into macros (as clearMacroTable leaves it) and tables; every line goes to log.
ApplicationLoad LoadApplication(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                                const char* applicationDirectory);

}  // namespace tavir
