#include "tools/batch_values.h"

namespace tavir {

namespace {

struct Slot {
    ControllerValue* value = nullptr;
    ReceivedMark* mark = nullptr;
};

// The first record of the table's usable part whose array number is number.
template <typename Table>
auto* findByNumber(Table& table, int32_t count, int32_t number) {
    const int usable = usableCount(count, static_cast<int>(table.size()));
    for (int i = 0; i < usable; ++i) {
        if (table[i].arrayNumber == number) return &table[i];
    }
    return static_cast<typename Table::value_type*>(nullptr);
}

template <typename Record>
Slot single(Record* r) {
    return r == nullptr ? Slot{} : Slot{&r->controllerValue, &r->received};
}

template <typename Record>
Slot ofField(Record* r, int field) {
    return r == nullptr ? Slot{} : Slot{&r->controllerValue[field], &r->received[field]};
}

Slot slotFor(ApplicationTables& t, const ValueRecord& r) {
    const ApplicationCounts& c = t.counts;
    const int32_t code = r.functionCode;
    switch (code) {
        case 32:
            return single(findByNumber(t.eparms, c.numEparms, r.number));
        case 33:
            return single(findByNumber(t.eggparms, c.numEggparms, r.number));
        case 34:
            return single(findByNumber(t.timers, c.numTimers, r.number));
        case 320:
            return ofField(findByNumber(t.signalGroups, c.numSignalGroups, r.number), kSgVgField);
        case 325:
            return ofField(findByNumber(t.signalGroups, c.numSignalGroups, r.number), kSgGlField);
        case 326:
            return ofField(findByNumber(t.signalGroups, c.numSignalGroups, r.number), kSgMgField);
        case 384: {
            const int usable = usableCount(t.numClearances, kClearanceCapacity);
            for (int i = 0; i < usable; ++i) {
                ClearanceEntry& e = t.clearances[i];
                if (e.fromNumber == r.number && e.toNumber == r.block) return single(&e);
            }
            return Slot{};
        }
        case 420:
            return single(findByNumber(t.switches, c.numSwitches, r.number));
        case 450:
        case 451:
            return ofField(findByNumber(t.clocks, c.numClocks, r.number),
                           code == 450 ? kTime1Field : kTime2Field);
        case 463:
            return ofField(findByNumber(t.detectors, c.numDetectors, r.number), kOccupancyTimeField);
        case 465:
        case 466:
            return ofField(findByNumber(t.detectors, c.numDetectors, r.number),
                           code == 465 ? kGapTime1Field : kGapTime2Field);
        default:
            break;
    }
    // Extra MG times: 331..336 are 1..6, 339..344 are 7..12.
    int k = 0;
    if (code >= 331 && code <= 336) k = code - 330;
    if (code >= 339 && code <= 344) k = code - 332;
    if (k == 0) return Slot{};
    return ofField(findByNumber(t.signalGroups, c.numSignalGroups, r.number), kSgExtraMgField1 + k - 1);
}

}  // namespace

void BatchValueStore::OnBatchValue(const ValueRecord& record) {
    Slot slot = slotFor(tables_, record);
    if (slot.mark == nullptr || slot.mark->load(std::memory_order_acquire) != 0) return;
    // The value before the mark: the dialog's thread reads a value only after it saw its mark.
    slot.value->store(record.value, std::memory_order_relaxed);
    slot.mark->store(1, std::memory_order_release);
    anyReplyStored_.store(true, std::memory_order_release);
}

}  // namespace tavir
