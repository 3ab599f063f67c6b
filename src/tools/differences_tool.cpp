#include "tools/differences_tool.h"

#include "link/request_encoder.h"
#include "tools/comparison.h"
#include "tools/kind_messages.h"

namespace tavir {

int runDifferences(ToolContext& context, const DifferencesOptions& options) {
    ApplicationTables& tables = context.tables;
    context.reporter.beginProgress(progressTotal(options.kinds, tables));
    resetPacing(context.pacing);
    TextOutputFile file;
    if (options.saveToFile) file.open(options.fileName.c_str(), FileMode::kTruncate);

    for (const ParameterKind kind : runKinds(options.kinds, tables)) {
        if (kind == ParameterKind::HIAAT) pace(context.pacing);
        for (const ParameterField& field : kindFields(tables, kind, FieldOrder::kWalk)) {
            if (!field.skipped && !field.isReceived()) {
                // The run has no value of its own for a field: its Read carries 0.
                SendRequest(context.transport, field.address, kRead);
                pace(context.pacing);
            }
            context.reporter.stepProgress();
        }
    }
    // Replies that come after the last pause are stored but belong to the next run.
    return compareDifferences(context, options.kinds, file);
}

int compareDifferences(ToolContext& context, const KindSelection& kinds, TextOutputFile& file) {
    int differences = 0;
    char message[kMessageCapacity];
    for (const ParameterKind kind : runKinds(kinds, context.tables)) {
        for (const ParameterField& field : kindFields(context.tables, kind, FieldOrder::kByEntry)) {
            if (!field.isReceived() || !fieldDiffers(field)) continue;
            ++differences;
            formatFieldMessage(message, sizeof message, field, MessageStyle::kDifference);
            if (file.isOpen()) {
                file.write(message);
                file.write("\n");
            } else {
                context.reporter.showMessage(message, text::kDifferencesCaption, ToolIcon::kStop);
            }
        }
    }
    if (differences == 0)
        context.reporter.showMessage(text::kNoDifferences, text::kDifferencesCaption, ToolIcon::kStop);
    return differences;
}

}  // namespace tavir
