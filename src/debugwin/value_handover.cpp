#include "debugwin/value_handover.h"

namespace tavir {

void ValueHandover::OnWindowValue(uint8_t kind, const ValueRecord& record) {
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queued_.push_back({kind, record, selection_.load(std::memory_order_acquire)});
        if (!wakePending_) {
            wakePending_ = true;
            wake = true;
        }
    }
    // One wake-up per batch: a stream of values costs one posted message per drain, not one each.
    if (!wake || !wake_ || wake_()) return;
    // The wake-up could not be posted (the window's queue was full): the next record tries again,
    // so that the values never stop appearing.
    std::lock_guard<std::mutex> lock(mutex_);
    wakePending_ = false;
}

void ValueHandover::beginSelection() {
    selection_.fetch_add(1, std::memory_order_acq_rel);
}

size_t ValueHandover::drain(const std::function<void(uint8_t, const ValueRecord&)>& show) {
    taken_.clear();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        taken_.swap(queued_);
        wakePending_ = false;
    }
    const uint32_t current = selection_.load(std::memory_order_acquire);
    size_t shown = 0;
    for (const HandedValue& value : taken_) {
        if (value.selection != current) continue;
        show(value.kind, value.record);
        ++shown;
    }
    return shown;
}

}  // namespace tavir
