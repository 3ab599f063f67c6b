#include "tools/adjustment_tool.h"

#include "link/request_encoder.h"
#include "tools/comparison.h"
#include "tools/kind_files.h"
#include "tools/kind_lines.h"
#include "tools/kind_messages.h"

namespace tavir {

bool runAdjustment(ToolContext& context, const AdjustmentOptions& options) {
    ApplicationTables& tables = context.tables;
    const ActionsFileChoice choice{options.saveToFile, options.separateFiles, options.fileName,
                                   options.watch};
    context.reporter.beginProgress(progressTotal(options.kinds, tables));
    resetPacing(context.pacing);
    TextOutputFile file;
    openRunFile(file, choice, FileMode::kTruncate);

    for (const ParameterKind kind : runKinds(options.kinds, tables)) {
        if (kind == ParameterKind::HIAAT) pace(context.pacing);
        beginWrittenKind(file, choice, kind);
        for (const ParameterField& field : kindFields(tables, kind, FieldOrder::kWalk)) {
            if (!field.skipped) {
                const ValueRecord written = writeField(context, file, field, scaledTableValue(field));
                // The verification asks with the record just written, so it carries the value.
                if (options.verify && !field.isReceived()) {
                    SendRequest(context.transport, written, kRead);
                    pace(context.pacing);
                }
            }
            context.reporter.stepProgress();
        }
        closeKindFile(file, choice);
    }
    file.close();

    const bool done = options.verify ? verifyAdjustment(context, options.kinds) : true;
    if (done) {
        context.reporter.showMessage(text::kAdjustmentDone, text::kAdjustmentCaption, ToolIcon::kInformation);
    } else {
        context.reporter.showMessage(text::kAdjustmentFailed, text::kAdjustmentCaption, ToolIcon::kStop);
    }
    return done;
}

bool verifyAdjustment(ToolContext& context, const KindSelection& kinds) {
    char message[kMessageCapacity];
    for (const ParameterKind kind : runKinds(kinds, context.tables)) {
        for (const ParameterField& field : kindFields(context.tables, kind, FieldOrder::kByEntry)) {
            if (!field.isReceived() || !fieldDiffers(field)) continue;
            formatFieldMessage(message, sizeof message, field, MessageStyle::kVerification);
            context.reporter.showMessage(message, text::kAdjustmentCaption, ToolIcon::kStop);
            return false;
        }
    }
    return true;
}

}  // namespace tavir
