#pragma once
#include <atomic>
#include <cstdint>

#include "link/value_record.h"
#include "link/value_sinks.h"

namespace tavir {

// Sends each decoded record to whoever waits for values: the open batch tool, else debugger
// window number 1, else nowhere. The user-interface thread writes the flags and sinks, the
// reader thread reads them in deliver(), so all of them are atomics.
//
// A batch tool sets batchSink before it sets its flag and clears its flag when its dialog ends;
// the sink object itself stays alive as long as the link does, because the reader may be inside
// OnBatchValue at the moment the flag drops. The same holds for the window sink of window 1.
struct DeliveryRouter : ValueDelivery {
    std::atomic<bool> aanpasActive{false};
    std::atomic<bool> afnameActive{false};
    std::atomic<bool> verschillenActive{false};
    std::atomic<BatchValueSink*> batchSink{nullptr};
    std::atomic<WindowValueSink*> windowSink{nullptr};  // none while window number 1 does not exist

    void deliver(uint8_t kind, const ValueRecord& record) override;

    bool batchDialogOpen() const;
};

}  // namespace tavir
