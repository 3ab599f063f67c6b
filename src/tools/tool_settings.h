#pragma once
// The settings keys of the parameter tools: read when a dialog opens, written at every start and
// when it closes. Each key is the tool's prefix, a blank and the key's own name.
#include <cstdint>

#include "base/settings.h"
#include "tools/adjustment_tool.h"
#include "tools/differences_tool.h"
#include "tools/sweep_tool.h"

namespace tavir {

// The ten kind keys; a missing key is 0.
KindSelection readKindKeys(Settings& settings, const char* prefix);
void writeKindKeys(Settings& settings, const char* prefix, const KindSelection& kinds);

// The tool's speed key (default 1000 ms), kept as stored even when it is none of the five speeds.
uint32_t readSpeedKey(Settings& settings, const char* prefix);
void writeSpeedKey(Settings& settings, const char* prefix, uint32_t intervalMs);

// The differences tool's keys: the kinds, "Save to file" (default 1) and "File name".
DifferencesOptions readDifferencesSettings(Settings& settings);
void writeDifferencesSettings(Settings& settings, const DifferencesOptions& options);

// The adjustment's keys: the kinds, "Save to file", "Save separate files" and "Verify action"
// (default 1 each) and "File name".
AdjustmentOptions readAdjustmentSettings(Settings& settings);
void writeAdjustmentSettings(Settings& settings, const AdjustmentOptions& options);

// The sweep's keys: the kinds with "Schakelaar aan" and "Schakelaar uit" for the switches (aan
// wins when both are set), "Beginwaarde parameters" (default 0), "Beginwaarde reset", "Save to
// file", "Save separate files", "Remind original values" (default 1 each) and "File name".
SweepOptions readSweepSettings(Settings& settings);
void writeSweepSettings(Settings& settings, const SweepOptions& options);

// The file name alone, the moment the save-as dialog changes it.
void writeFileNameKey(Settings& settings, const char* prefix, const char* fileName);

}  // namespace tavir
