#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "link/value_record.h"
#include "link/value_sinks.h"

namespace tavir {

// One decoded record on its way from the reader thread to the user-interface thread, with the
// selection of the current child window it was received under.
struct HandedValue {
    uint8_t kind;
    ValueRecord record;
    uint32_t selection;
};

// The window sink of debugger window number 1. The reader thread never touches a window or an
// item: it queues each record, tagged with the selection it arrived under, and wakes the
// user-interface thread (a posted message, never a blocking send) when the queue was empty. The
// user-interface thread takes the whole queue at once and shows the records in the order they
// were received. A record received before the current child window was selected belongs to a
// window that has since been stopped and hidden, and is dropped, as the reader drops the bytes
// that arrive while the switch is under way.
class ValueHandover : public WindowValueSink {
public:
    // wake runs on the reader thread; it must only post (the user-interface thread may be
    // waiting on the reader at that moment, for example while the program ends), and gives
    // whether the wake-up is on its way. One that could not be posted is tried again with the
    // next record.
    explicit ValueHandover(std::function<bool()> wake) : wake_(std::move(wake)) {}

    // Reader thread.
    void OnWindowValue(uint8_t kind, const ValueRecord& record) override;

    // User-interface thread: a new child window becomes current; what was received until now
    // is stale.
    void beginSelection();

    // User-interface thread: hands every record received since the last call to show, in order,
    // leaving out the stale ones; gives how many were shown.
    size_t drain(const std::function<void(uint8_t kind, const ValueRecord& record)>& show);

private:
    std::function<bool()> wake_;
    std::atomic<uint32_t> selection_{0};
    std::mutex mutex_;
    std::vector<HandedValue> queued_;  // guarded by mutex_
    bool wakePending_ = false;         // guarded by mutex_: a wake-up is on its way
    std::vector<HandedValue> taken_;   // user-interface thread only
};

}  // namespace tavir
