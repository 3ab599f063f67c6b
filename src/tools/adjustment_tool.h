#pragma once
// The automatic parameter adjustment: writes the table source's values into the controller,
// records each write, and optionally checks afterwards that the controller holds them.
#include <string>

#include "resources/tools_texts.h"
#include "tools/parameter_kind.h"
#include "tools/text_output_file.h"
#include "tools/tool_context.h"

namespace tavir {

struct AdjustmentOptions {
    KindSelection kinds;
    bool saveToFile = true;
    bool separateFiles = true;
    bool verify = true;
    std::string fileName = text::kAdjustmentFileDefault;
    OutputWatch* watch = nullptr;  // the actions files\' writes, when the caller must know
};

// Writes every field the walk does not skip (the table value times the scale, truncated toward
// zero), each followed by a pace and, with verification on, by a Read of a field not yet
// received. Ends with the closing message; gives true when the adjustment is done (verification
// off, or no received field differs).
bool runAdjustment(ToolContext& context, const AdjustmentOptions& options);

// Compares every received field of the selected kinds with its table value; at the first
// difference shows its message and gives false.
bool verifyAdjustment(ToolContext& context, const KindSelection& kinds);

}  // namespace tavir
