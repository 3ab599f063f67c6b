#include "shell/load_definitions.h"

#include <cstdio>

#include "definitions/application_header.h"
#include "definitions/builtin_macros.h"
#include "resources/shell_texts.h"
#include "base/join_path.h"

namespace tavir {

DefinitionsResult LoadDefinitions(MacroTable& macros, ApplicationTables& tables, MessageLog& log,
                                  MessageBoxes& boxes, const char* definitionDirectory) {
    int macroResult = loadBuiltInMacros(macros, log);
    ReportMessage(log, kPlain, text::kMacroFileName, text::kReadingMacroFile);
    if (macroResult != 0) {
        boxes.show(text::kMacroFileIncorrect, text::kErrorCaption, kBoxOk | kBoxIconExclamation);
        return DefinitionsResult::kFailed;
    }

    const char* joined = JoinPath(definitionDirectory, text::kHeaderFileName);
    if (joined == nullptr) {
        ReportMessage(log, kError, text::kHeaderFileName, text::kHeaderPathTooLong, definitionDirectory);
        return DefinitionsResult::kHeaderPathTooLong;
    }
    char headerPath[kPathCapacity];
    std::snprintf(headerPath, sizeof headerPath, "%s", joined);
    ReportMessage(log, kPlain, headerPath, text::kReadingHeaderFile);
    if (loadApplicationHeader(macros, tables, log, headerPath) != 0) {
        char message[kPathCapacity + 64];
        std::snprintf(message, sizeof message, text::kHeaderNotOpenedFormat, headerPath);
        boxes.show(message, text::kErrorCaption, kBoxOk | kBoxIconExclamation);
        return DefinitionsResult::kFailed;
    }
    return DefinitionsResult::kLoaded;
}

}  // namespace tavir
