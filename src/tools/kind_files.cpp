#include "tools/kind_files.h"

#include "link/request_encoder.h"
#include "resources/tools_texts.h"
#include "tools/kind_file_name.h"
#include "tools/kind_lines.h"

namespace tavir {

void openRunFile(TextOutputFile& file, const ActionsFileChoice& choice, FileMode mode) {
    file.watch(choice.watch);
    if (choice.saveToFile && !choice.separateFiles) file.open(choice.fileName.c_str(), mode);
}

void openKindFile(TextOutputFile& file, const ActionsFileChoice& choice, ParameterKind kind, FileMode mode) {
    if (!choice.saveToFile || !choice.separateFiles) return;
    const std::string name = kindFileName(choice.fileName.c_str(), text::kKindFileSuffix[kindIndex(kind)]);
    file.watch(choice.watch);
    file.open(name.c_str(), mode);
}

void closeKindFile(TextOutputFile& file, const ActionsFileChoice& choice) {
    if (choice.saveToFile && choice.separateFiles) file.close();
}

void beginWrittenKind(TextOutputFile& file, const ActionsFileChoice& choice, ParameterKind kind) {
    openKindFile(file, choice, kind, FileMode::kTruncate);
    if (choice.saveToFile) file.write(kindHeaderLine(kind));
}

ValueRecord writeField(ToolContext& context, TextOutputFile& file, const ParameterField& field,
                       int32_t value) {
    ValueRecord request = field.address;
    request.value = value;
    writeKindRow(file, field, value);
    SendRequest(context.transport, request, kWrite);
    pace(context.pacing);
    return request;
}

void writeKindRow(TextOutputFile& file, const ParameterField& field, int32_t value) {
    if (!file.isOpen()) return;
    char row[kRowCapacity];
    formatKindRow(row, sizeof row, field, value);
    file.write(row);
}

}  // namespace tavir
