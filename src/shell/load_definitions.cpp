#include "shell/load_definitions.h"

#include <cstdio>

#include "definitions/load_application.h"
#include "resources/shell_texts.h"

namespace tavir {

DefinitionsResult LoadDefinitions(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                                  MessageBoxes& boxes, const char* definitionDirectory) {
    ApplicationLoad load = LoadApplication(macros, tables, log, definitionDirectory);
    switch (load.result) {
        case ApplicationLoadResult::kLoaded:
            return DefinitionsResult::kLoaded;
        case ApplicationLoadResult::kHeaderPathTooLong:
            return DefinitionsResult::kHeaderPathTooLong;
        case ApplicationLoadResult::kMacrosIncorrect:
            boxes.show(text::kMacroFileIncorrect, text::kErrorCaption, kBoxOk | kBoxIconExclamation);
            return DefinitionsResult::kFailed;
        case ApplicationLoadResult::kHeaderRefused:
            break;
    }
    char message[sizeof load.headerPath + sizeof text::kHeaderNotOpenedFormat];
    std::snprintf(message, sizeof message, text::kHeaderNotOpenedFormat, load.headerPath);
    boxes.show(message, text::kErrorCaption, kBoxOk | kBoxIconExclamation);
    return DefinitionsResult::kFailed;
}

}  // namespace tavir
