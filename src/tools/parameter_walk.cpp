#include <cstddef>

#include "tools/parameter_field.h"

namespace tavir {

namespace {

// Function codes of the controller's settings.
constexpr int32_t kEparmCode = 32;
constexpr int32_t kEggparmCode = 33;
constexpr int32_t kTimerCode = 34;
constexpr int32_t kVgCode = 320;
constexpr int32_t kGlCode = 325;
constexpr int32_t kClearanceCode = 384;
constexpr int32_t kSwitchCode = 420;
constexpr int32_t kClockCodes[] = {450, 451};
constexpr int32_t kDetectorCodes[] = {465, 466, 463};  // gap 1, gap 2, occupancy

// The MG time is 326; extra MG times 1..6 are 331..336 and 7..12 are 339..344 (337 and 338 are
// other settings).
int32_t mgCode(int pass) {
    if (pass == 0) return 326;
    return pass <= 6 ? 330 + pass : 332 + pass;
}

// MG and detector times of -1.0 are unset; the tools leave them alone.
bool timeSet(double time) {
    return time > -0.1;
}

ParameterField makeField(ParameterKind kind, int pass, int entry, int32_t code, int32_t number, int32_t block,
                         double value, const char* name, ControllerValue& controllerValue,
                         ReceivedMark& received) {
    ParameterField f{};
    f.kind = kind;
    f.pass = pass;
    f.entry = entry;
    f.address.functionCode = code;
    f.address.number = number;
    f.address.block = block;
    f.skipped = false;
    f.tableValue = value;
    f.name = name;
    f.toName = "";
    f.controllerValue = &controllerValue;
    f.received = &received;
    return f;
}

ParameterField fieldOf(ApplicationTables& t, ParameterKind kind, int pass, int entry) {
    switch (kind) {
        case ParameterKind::ONT: {
            ClearanceEntry& c = t.clearances[entry];
            ParameterField f = makeField(kind, 0, entry, kClearanceCode, c.fromNumber, c.toNumber,
                                         c.clearanceTime, c.fromName, c.controllerValue, c.received);
            f.toName = c.toName;
            return f;
        }
        case ParameterKind::VG:
        case ParameterKind::GL: {
            SignalGroupRecord& g = t.signalGroups[entry];
            bool vg = kind == ParameterKind::VG;
            int slot = vg ? kSgVgField : kSgGlField;
            ParameterField f =
                makeField(kind, 0, entry, vg ? kVgCode : kGlCode, g.arrayNumber, 0, vg ? g.vgTime : g.glTime,
                          g.name, g.controllerValue[slot], g.received[slot]);
            f.skipped = g.name[0] == '\0';
            return f;
        }
        case ParameterKind::MG: {
            SignalGroupRecord& g = t.signalGroups[entry];
            double time = pass == 0 ? g.mgTime : g.extraMgTimes[pass - 1];
            int slot = pass == 0 ? kSgMgField : kSgExtraMgField1 + pass - 1;
            ParameterField f = makeField(kind, pass, entry, mgCode(pass), g.arrayNumber, 0, time, g.name,
                                         g.controllerValue[slot], g.received[slot]);
            f.skipped = g.arrayNumber < 0 || !timeSet(time);
            return f;
        }
        case ParameterKind::HIAAT: {
            DetectorRecord& d = t.detectors[entry];
            const double times[] = {d.gapTime1, d.gapTime2, d.occupancyTime};
            const int slots[] = {kGapTime1Field, kGapTime2Field, kOccupancyTimeField};
            ParameterField f =
                makeField(kind, pass, entry, kDetectorCodes[pass], d.arrayNumber, 0, times[pass], d.name,
                          d.controllerValue[slots[pass]], d.received[slots[pass]]);
            f.skipped = d.arrayNumber < 0 || !timeSet(times[pass]);
            return f;
        }
        case ParameterKind::TIJD: {
            TimerRecord& r = t.timers[entry];
            return makeField(kind, 0, entry, kTimerCode, r.arrayNumber, 0, r.time, r.name, r.controllerValue,
                             r.received);
        }
        case ParameterKind::KLOK: {
            ClockRecord& r = t.clocks[entry];
            int slot = pass == 0 ? kTime1Field : kTime2Field;
            return makeField(kind, pass, entry, kClockCodes[pass], r.arrayNumber, 0,
                             pass == 0 ? r.time1 : r.time2, r.name, r.controllerValue[slot],
                             r.received[slot]);
        }
        case ParameterKind::SCH: {
            SwitchRecord& r = t.switches[entry];
            return makeField(kind, 0, entry, kSwitchCode, r.arrayNumber, 0, r.value, r.name,
                             r.controllerValue, r.received);
        }
        case ParameterKind::EGGPARM: {
            EggparmRecord& r = t.eggparms[entry];
            return makeField(kind, 0, entry, kEggparmCode, r.arrayNumber, 0, r.value, r.name,
                             r.controllerValue, r.received);
        }
        case ParameterKind::EPARM:
            break;
    }
    EparmRecord& r = t.eparms[entry];
    return makeField(kind, 0, entry, kEparmCode, r.arrayNumber, 0, r.value, r.name, r.controllerValue,
                     r.received);
}

}  // namespace

std::vector<ParameterField> kindFields(ApplicationTables& tables, ParameterKind kind, FieldOrder order) {
    const int entries = kindEntryCount(kind, tables);
    const int passes = kindPassCount(kind);
    std::vector<ParameterField> fields;
    fields.reserve(static_cast<size_t>(entries * passes));
    if (order == FieldOrder::kWalk) {
        for (int pass = 0; pass < passes; ++pass)
            for (int entry = 0; entry < entries; ++entry)
                fields.push_back(fieldOf(tables, kind, pass, entry));
    } else {
        for (int entry = 0; entry < entries; ++entry)
            for (int pass = 0; pass < passes; ++pass) fields.push_back(fieldOf(tables, kind, pass, entry));
    }
    return fields;
}

}  // namespace tavir
