#pragma once
// The differences tool: reads the selected parameters from the controller and reports where they
// differ from the table source. It only reads; it never changes the controller.
#include <string>

#include "resources/tools_texts.h"
#include "tools/parameter_kind.h"
#include "tools/text_output_file.h"
#include "tools/tool_context.h"

namespace tavir {

struct DifferencesOptions {
    KindSelection kinds;
    bool saveToFile = true;
    std::string fileName = text::kDifferencesFileDefault;
};

// The read phase, then the comparison. Each field whose mark is not yet set is asked for with a
// Read and a pace; a field already received (by any tool, in any earlier run) is not read again.
// Gives the number of differences found.
int runDifferences(ToolContext& context, const DifferencesOptions& options);

// Compares every received field of the selected kinds, entry by entry. Each difference goes to
// file as two lines when it is open, else to a message box of its own; when there is none, the
// message box that says so. Gives the number of differences.
int compareDifferences(ToolContext& context, const KindSelection& kinds, TextOutputFile& file);

}  // namespace tavir
