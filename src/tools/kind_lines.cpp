#include "tools/kind_lines.h"

#include <cstdio>

#include "resources/tools_texts.h"

namespace tavir {

const char* kindHeaderLine(ParameterKind kind) {
    switch (kind) {
        case ParameterKind::ONT:
            return text::kClearanceHeader;
        case ParameterKind::VG:
        case ParameterKind::GL:
            return text::kSignalGroupHeader;
        case ParameterKind::MG:
            return text::kMgHeader;
        case ParameterKind::HIAAT:
            return text::kGapHeader;
        case ParameterKind::TIJD:
            return text::kTimerHeader;
        case ParameterKind::KLOK:
            return text::kClockHeader;
        case ParameterKind::SCH:
            return text::kSwitchHeader;
        case ParameterKind::EGGPARM:
            return text::kEggparmHeader;
        case ParameterKind::EPARM:
            break;
    }
    return text::kEparmHeader;
}

int formatKindRow(char* out, size_t size, const ParameterField& f, int32_t value) {
    const int v = value;
    switch (f.kind) {
        case ParameterKind::ONT:
            return std::snprintf(out, size, text::kClearanceRow, f.entry + 1, f.name, f.toName, v);
        case ParameterKind::VG:
            return std::snprintf(out, size, text::kVgRow, f.name, v);
        case ParameterKind::GL:
            return std::snprintf(out, size, text::kGlRow, f.name, v);
        case ParameterKind::MG:
            if (f.pass == 0) return std::snprintf(out, size, text::kMgRow, f.name, v);
            return std::snprintf(out, size, text::kExtraMgRow, f.pass, f.name, v);
        case ParameterKind::HIAAT:
            return std::snprintf(out, size, text::kGapRow, text::kGapPassLabel[f.pass], f.name, v);
        case ParameterKind::TIJD:
            return std::snprintf(out, size, text::kTimerRow, f.name, v);
        case ParameterKind::KLOK:
            return std::snprintf(out, size, f.pass == 0 ? text::kClockRow1 : text::kClockRow2, f.name, v);
        case ParameterKind::SCH:
            return std::snprintf(out, size, text::kSwitchRow, f.name, v);
        case ParameterKind::EGGPARM:
            return std::snprintf(out, size, text::kEggparmRow, f.name, v);
        case ParameterKind::EPARM:
            break;
    }
    return std::snprintf(out, size, text::kEparmRow, f.name, v);
}

}  // namespace tavir
