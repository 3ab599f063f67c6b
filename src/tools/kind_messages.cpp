#include "tools/kind_messages.h"

#include <cstdio>

#include "resources/tools_texts.h"
#include "tools/comparison.h"

namespace tavir {

namespace {

// The format of a field's message; index 0 is the difference, 1 the verification.
const char* formatOf(const ParameterField& f, int style) {
    static constexpr const char* kGap[3][2] = {{text::kGap1Difference, text::kGap1VerifyFailed},
                                               {text::kGap2Difference, text::kGap2VerifyFailed},
                                               {text::kOccupancyDifference, text::kOccupancyVerifyFailed}};
    static constexpr const char* kClock[2][2] = {{text::kClock1Difference, text::kClock1VerifyFailed},
                                                 {text::kClock2Difference, text::kClock2VerifyFailed}};
    static constexpr const char* kOther[kParameterKindCount][2] = {
        {text::kClearanceDifference, text::kClearanceVerifyFailed},
        {text::kVgDifference, text::kVgVerifyFailed},
        {text::kGlDifference, text::kGlVerifyFailed},
        {text::kMgDifference, text::kMgVerifyFailed},
        {nullptr, nullptr},
        {text::kTimerDifference, text::kTimerVerifyFailed},
        {nullptr, nullptr},
        {text::kSwitchDifference, text::kSwitchVerifyFailed},
        {text::kEggparmDifference, text::kEggparmVerifyFailed},
        {text::kEparmDifference, text::kEparmVerifyFailed},
    };
    if (f.kind == ParameterKind::HIAAT) return kGap[f.pass][style];
    if (f.kind == ParameterKind::KLOK) return kClock[f.pass][style];
    return kOther[kindIndex(f.kind)][style];
}

}  // namespace

int formatFieldMessage(char* out, size_t size, const ParameterField& f, MessageStyle style) {
    const bool difference = style == MessageStyle::kDifference;
    const char* format = formatOf(f, difference ? 0 : 1);
    const int shown = shownControllerValue(f);
    if (kindHoldsIntegers(f.kind)) {
        return std::snprintf(out, size, format, f.name, static_cast<int>(scaledTableValue(f)), shown);
    }
    if (f.kind == ParameterKind::ONT)
        return std::snprintf(out, size, format, f.name, f.toName, f.tableValue, shown);
    // Only the difference names which of the thirteen MG times it is.
    if (f.kind == ParameterKind::MG && difference) {
        return std::snprintf(out, size, format, f.name, f.pass, f.tableValue, shown);
    }
    return std::snprintf(out, size, format, f.name, f.tableValue, shown);
}

}  // namespace tavir
