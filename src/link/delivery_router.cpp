#include "link/delivery_router.h"

namespace tavir {

bool DeliveryRouter::batchDialogOpen() const {
    return aanpasActive.load(std::memory_order_acquire) || afnameActive.load(std::memory_order_acquire) ||
           verschillenActive.load(std::memory_order_acquire);
}

void DeliveryRouter::deliver(uint8_t kind, const ValueRecord& record) {
    // While a batch dialog is open its values must not reach the child windows, even when the
    // tool has no sink yet: the record is dropped rather than shown.
    if (batchDialogOpen()) {
        if (BatchValueSink* sink = batchSink.load(std::memory_order_acquire)) sink->OnBatchValue(record);
        return;
    }
    if (WindowValueSink* sink = windowSink.load(std::memory_order_acquire)) sink->OnWindowValue(kind, record);
}

}  // namespace tavir
