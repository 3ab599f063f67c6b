#pragma once
// What the controller answers while a parameter tool is open: each decoded record is kept in
// the working fields of the table entry it belongs to.
#include <atomic>

#include "definitions/object_tables.h"
#include "link/value_record.h"
#include "link/value_sinks.h"

namespace tavir {

class BatchValueStore : public BatchValueSink {
public:
    explicit BatchValueStore(ApplicationTables& tables) : tables_(tables) {}

    // Reader thread. The function code selects the table and field, the number (and for a
    // clearance the block) the entry; only the first entry that matches is looked at. The first
    // reply for a field wins: a field whose mark is set keeps its value for the rest of the
    // program run. Records of other codes, and records that match no entry, are dropped. The
    // request kind of the frame is not looked at: a record without a value is stored as 0.
    void OnBatchValue(const ValueRecord& record) override;

    // Set by the first value stored, never cleared: the sweep then has originals to restore.
    bool anyReplyStored() const { return anyReplyStored_.load(std::memory_order_acquire); }

private:
    ApplicationTables& tables_;
    std::atomic<bool> anyReplyStored_{false};
};

}  // namespace tavir
