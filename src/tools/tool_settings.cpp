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

bool readFlag(Settings& settings, const char* prefix, const char* suffix) {
    return settings.readInt(ToolKey(prefix, suffix).name, 1) != 0;
}

void writeFlag(Settings& settings, const char* prefix, const char* suffix, bool on) {
    settings.writeInt(ToolKey(prefix, suffix).name, on ? 1 : 0);
}

std::string readFileName(Settings& settings, const char* prefix, const char* defaultName) {
    char fileName[kFileNameCapacity];
    settings.readString(ToolKey(prefix, text::kFileNameKeySuffix).name, defaultName, fileName,
                        sizeof fileName);
    return fileName;
}

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
    options.saveToFile = readFlag(settings, prefix, text::kSaveToFileKeySuffix);
    options.fileName = readFileName(settings, prefix, text::kDifferencesFileDefault);
    return options;
}

void writeDifferencesSettings(Settings& settings, const DifferencesOptions& options) {
    const char* prefix = text::kDifferencesPrefix;
    writeFlag(settings, prefix, text::kSaveToFileKeySuffix, options.saveToFile);
    writeFileNameKey(settings, prefix, options.fileName.c_str());
    writeKindKeys(settings, prefix, options.kinds);
}

AdjustmentOptions readAdjustmentSettings(Settings& settings) {
    const char* prefix = text::kAdjustmentPrefix;
    AdjustmentOptions options;
    options.kinds = readKindKeys(settings, prefix);
    options.saveToFile = readFlag(settings, prefix, text::kSaveToFileKeySuffix);
    options.separateFiles = readFlag(settings, prefix, text::kSeparateFilesKeySuffix);
    options.verify = settings.readInt(text::kVerifyKey, 1) != 0;
    options.fileName = readFileName(settings, prefix, text::kAdjustmentFileDefault);
    return options;
}

void writeAdjustmentSettings(Settings& settings, const AdjustmentOptions& options) {
    const char* prefix = text::kAdjustmentPrefix;
    writeKindKeys(settings, prefix, options.kinds);
    writeFlag(settings, prefix, text::kSaveToFileKeySuffix, options.saveToFile);
    writeFlag(settings, prefix, text::kSeparateFilesKeySuffix, options.separateFiles);
    writeFileNameKey(settings, prefix, options.fileName.c_str());
    settings.writeInt(text::kVerifyKey, options.verify ? 1 : 0);
}

SweepOptions readSweepSettings(Settings& settings) {
    const char* prefix = text::kSweepPrefix;
    SweepOptions options;
    options.kinds = readKindKeys(settings, prefix);
    const bool on = settings.readInt(ToolKey(prefix, text::kSwitchesOnKeySuffix).name, 0) != 0;
    const bool off = settings.readInt(ToolKey(prefix, text::kSwitchesOffKeySuffix).name, 0) != 0;
    options.kinds.set(ParameterKind::SCH, on || off);
    options.switchesOn = on;
    options.startValue = settings.readInt(text::kStartValueKey, 0);
    options.resetPerKind = settings.readInt(text::kResetPerKindKey, 1) != 0;
    options.saveToFile = readFlag(settings, prefix, text::kSaveToFileKeySuffix);
    options.separateFiles = readFlag(settings, prefix, text::kSeparateFilesKeySuffix);
    options.rememberOriginals = settings.readInt(text::kRememberOriginalsKey, 1) != 0;
    options.fileName = readFileName(settings, prefix, text::kSweepFileDefault);
    return options;
}

void writeSweepSettings(Settings& settings, const SweepOptions& options) {
    const char* prefix = text::kSweepPrefix;
    const bool switches = options.kinds.has(ParameterKind::SCH);
    for (int k = 0; k < kParameterKindCount; ++k) {
        if (kindAt(k) == ParameterKind::SCH) continue;
        settings.writeInt(ToolKey(prefix, text::kKindKeySuffix[k]).name, options.kinds.selected[k] ? 1 : 0);
    }
    writeFlag(settings, prefix, text::kSwitchesOnKeySuffix, switches && options.switchesOn);
    writeFlag(settings, prefix, text::kSwitchesOffKeySuffix, switches && !options.switchesOn);
    settings.writeInt(text::kStartValueKey, options.startValue);
    settings.writeInt(text::kResetPerKindKey, options.resetPerKind ? 1 : 0);
    writeFlag(settings, prefix, text::kSaveToFileKeySuffix, options.saveToFile);
    writeFlag(settings, prefix, text::kSeparateFilesKeySuffix, options.separateFiles);
    settings.writeInt(text::kRememberOriginalsKey, options.rememberOriginals ? 1 : 0);
    writeFileNameKey(settings, prefix, options.fileName.c_str());
}

void writeFileNameKey(Settings& settings, const char* prefix, const char* fileName) {
    settings.writeString(ToolKey(prefix, text::kFileNameKeySuffix).name, fileName);
}

}  // namespace tavir
