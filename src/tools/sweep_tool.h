#pragma once
// The automatic acceptance sweep: writes a distinct, increasing test value into every selected
// parameter, records each write, can first read each original, and can write the originals back.
#include <cstdint>
#include <string>

#include "resources/tools_texts.h"
#include "tools/parameter_kind.h"
#include "tools/text_output_file.h"
#include "tools/tool_context.h"

namespace tavir {

// The sweep's values run from 0 to 11999; a value that would reach 12000 becomes 0.
constexpr int32_t kSweepValueLimit = 12000;

struct SweepOptions {
    KindSelection kinds;      // SCH when either switch box ("aan" or "uit") is checked
    bool switchesOn = false;  // switches get 1 ("Schakelaars aan"), else 0 ("Schakelaars uit")
    bool saveToFile = true;
    bool separateFiles = true;
    bool rememberOriginals = true;
    bool resetPerKind = true;
    int32_t startValue = 0;
    std::string fileName = text::kSweepFileDefault;
    OutputWatch* watch = nullptr;  // the actions files\' writes, when the caller must know
};

struct SweepState {
    int32_t startValue = 0;
    bool resetPerKind = true;
    int32_t sweepValue = 0;  // the last value handed out
};

// The next test value. The first write of a kind starts again at the start value when reset per
// kind is on; otherwise the value after the last one.
int32_t nextSweepValue(SweepState& state, bool firstWriteOfKind);

// Writes a test value into every field the walk does not skip (switches: 1 or 0), each preceded,
// when remembering originals, by a Read of a field not yet received. Ends with the closing
// message. The caller enables the reset when anyReplyStored is set afterwards.
void runSweep(ToolContext& context, const SweepOptions& options, SweepState& state);

// Writes back every received field of the kinds of options (those of the last start), in walk
// order, appending to the actions files under "Reset originele instellingen". Fields never
// received are not touched. Gives the number of values written.
int resetOriginals(ToolContext& context, const SweepOptions& options);

}  // namespace tavir
