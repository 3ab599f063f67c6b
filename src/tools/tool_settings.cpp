#include "tools/tool_settings.h"

#include <cstdio>

#include "resources/tools_texts.h"

namespace tavir {

namespace {

// Every key is shorter than the longest prefix and name together.
struct ToolKey {
    char name[64];
    ToolKey(const char* prefix, const char* suffix) {
        std::snprintf(name, sizeof name, "%s %s", prefix, suffix);
    }
};

constexpr size_t kFileNameCapacity = 260;

}  // namespace

KindSelection readKindKeys(Settings& settings, const char* prefix) {
    KindSelection kinds;
    for (int k = 0; k < kParameterKindCount; ++k)
        kinds.selected[k] = settings.readInt(ToolKey(prefix, text::kKindKeySuffix[k]).name, 0) != 0;
    return kinds;
}

void writeKindKeys(Settings& settings, const char* prefix, const KindSelection& kinds) {
    for (int k = 0; k < kParameterKindCount; ++k)
        settings.writeInt(ToolKey(prefix, text::kKindKeySuffix[k]).name, kinds.selected[k] ? 1 : 0);
}

uint32_t readSpeedKey(Settings& settings, const char* prefix) {
    return static_cast<uint32_t>(settings.readInt(ToolKey(prefix, text::kSpeedKeySuffix).name,
                                                  static_cast<int32_t>(kDefaultIntervalMs)));
}

void writeSpeedKey(Settings& settings, const char* prefix, uint32_t intervalMs) {
    settings.writeInt(ToolKey(prefix, text::kSpeedKeySuffix).name, static_cast<int32_t>(intervalMs));
}

DifferencesOptions readDifferencesSettings(Settings& settings) {
    const char* prefix = text::kDifferencesPrefix;
    DifferencesOptions options;
    options.kinds = readKindKeys(settings, prefix);
    options.saveToFile = settings.readInt(ToolKey(prefix, text::kSaveToFileKeySuffix).name, 1) != 0;
    char fileName[kFileNameCapacity];
    settings.readString(ToolKey(prefix, text::kFileNameKeySuffix).name, text::kDifferencesFileDefault,
                        fileName, sizeof fileName);
    options.fileName = fileName;
    return options;
}

void writeDifferencesSettings(Settings& settings, const DifferencesOptions& options) {
    const char* prefix = text::kDifferencesPrefix;
    settings.writeInt(ToolKey(prefix, text::kSaveToFileKeySuffix).name, options.saveToFile ? 1 : 0);
    writeDifferencesFileName(settings, options.fileName.c_str());
    writeKindKeys(settings, prefix, options.kinds);
}

void writeDifferencesFileName(Settings& settings, const char* fileName) {
    settings.writeString(ToolKey(text::kDifferencesPrefix, text::kFileNameKeySuffix).name, fileName);
}

}  // namespace tavir
