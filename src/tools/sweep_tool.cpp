#include "tools/sweep_tool.h"

#include "link/request_encoder.h"
#include "tools/kind_files.h"
#include "tools/kind_lines.h"

namespace tavir {

namespace {

// Two's complement wrap-around, as the 32-bit counter of the dialog behaves at its ends.
int32_t wrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace

int32_t nextSweepValue(SweepState& state, bool firstWriteOfKind) {
    int32_t v = firstWriteOfKind && state.resetPerKind ? state.startValue : wrappingAdd(state.sweepValue, 1);
    if (v >= kSweepValueLimit) v = 0;
    state.sweepValue = v;
    return v;
}

void runSweep(ToolContext& context, const SweepOptions& options, SweepState& state) {
    ApplicationTables& tables = context.tables;
    const ActionsFileChoice choice{options.saveToFile, options.separateFiles, options.fileName,
                                   options.watch};
    context.reporter.beginProgress(progressTotal(options.kinds, tables));
    resetPacing(context.pacing);
    state.startValue = options.startValue;
    state.resetPerKind = options.resetPerKind;
    state.sweepValue = wrappingAdd(options.startValue, -1);
    TextOutputFile file;
    openRunFile(file, choice, FileMode::kTruncate);

    for (const ParameterKind kind : runKinds(options.kinds, tables)) {
        if (kind == ParameterKind::HIAAT) pace(context.pacing);
        beginWrittenKind(file, choice, kind);
        bool firstWrite = true;
        for (const ParameterField& field : kindFields(tables, kind, FieldOrder::kWalk)) {
            if (!field.skipped) {
                // The original is asked for before it is overwritten, and before the value is
                // chosen, so its Read carries 0; the first answer is kept.
                if (options.rememberOriginals && !field.isReceived()) {
                    SendRequest(context.transport, field.address, kRead);
                    pace(context.pacing);
                }
                int32_t value = options.switchesOn ? 1 : 0;
                if (kind != ParameterKind::SCH) {
                    value = nextSweepValue(state, firstWrite);
                    firstWrite = false;
                }
                writeField(context, file, field, value);
            }
            context.reporter.stepProgress();
        }
        closeKindFile(file, choice);
    }
    file.close();
    context.reporter.showMessage(text::kSweepDone, text::kSweepCaption, ToolIcon::kInformation);
}

int resetOriginals(ToolContext& context, const SweepOptions& options) {
    ApplicationTables& tables = context.tables;
    const ActionsFileChoice choice{options.saveToFile, options.separateFiles, options.fileName,
                                   options.watch};
    context.reporter.beginProgress(progressTotal(options.kinds, tables));
    resetPacing(context.pacing);
    TextOutputFile file;
    openRunFile(file, choice, FileMode::kAppend);

    int written = 0;
    for (const ParameterKind kind : runKinds(options.kinds, tables)) {
        openKindFile(file, choice, kind, FileMode::kAppend);
        if (options.saveToFile) {
            file.write(text::kResetLine);
            file.write(kindHeaderLine(kind));
        }
        // Only the marks select: an original received for a field the walk skips is restored too.
        for (const ParameterField& field : kindFields(tables, kind, FieldOrder::kWalk)) {
            if (field.isReceived()) {
                writeField(context, file, field, field.controller());
                ++written;
            }
            context.reporter.stepProgress();
        }
        closeKindFile(file, choice);
    }
    file.close();
    context.reporter.showMessage(text::kResetDone, text::kSweepCaption, ToolIcon::kInformation);
    return written;
}

}  // namespace tavir
