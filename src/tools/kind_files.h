#pragma once
// The actions files of the adjustment and the sweep: one file for the whole run, or one per kind
// named after the chosen name.
#include <string>

#include "tools/parameter_field.h"
#include "tools/text_output_file.h"
#include "tools/tool_context.h"

namespace tavir {

struct ActionsFileChoice {
    bool saveToFile;
    bool separateFiles;
    const std::string& fileName;
    OutputWatch* watch = nullptr;
};

// Opens the run's single file when saving to one file. A file that cannot be opened is not
// reported: the run goes on and records nothing.
void openRunFile(TextOutputFile& file, const ActionsFileChoice& choice, FileMode mode);

// Before a kind: opens its own file when saving to separate files.
void openKindFile(TextOutputFile& file, const ActionsFileChoice& choice, ParameterKind kind, FileMode mode);

// Before a kind of a run that writes: its own file as above, and its header line when saving.
void beginWrittenKind(TextOutputFile& file, const ActionsFileChoice& choice, ParameterKind kind);

// After a kind: closes its own file.
void closeKindFile(TextOutputFile& file, const ActionsFileChoice& choice);

// One row for a value written, when a file is open.
void writeKindRow(TextOutputFile& file, const ParameterField& field, int32_t value);

// A field written: its row, the Write with value, and the pace after it. Gives the record sent.
ValueRecord writeField(ToolContext& context, TextOutputFile& file, const ParameterField& field,
                       int32_t value);

}  // namespace tavir
