#pragma once
// Values the controller sends while tavir-cli watches or records: taken on the reader thread with
// the moment they arrived, handed over to the main thread, which owns the view and the timeline.
#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "link/value_sinks.h"

namespace tavir::cli {

struct ReceivedValue {
    std::chrono::steady_clock::time_point at;
    ValueRecord record;
};

class ReceivedValues : public BatchValueSink {
public:
    void OnBatchValue(const ValueRecord& record) override;
    // Everything received since the last call, in the order it arrived.
    std::vector<ReceivedValue> take();
    bool pending() const { return pending_.load(); }

private:
    std::mutex mutex_;
    std::vector<ReceivedValue> values_;
    std::atomic<bool> pending_{false};
};

// Ctrl+C ends a watch or a recording like q: the monitoring is stopped and the files written.
// install() sets the handler; interrupted() tells whether Ctrl+C was pressed since.
void installInterruptHandler();
bool interrupted();

}  // namespace tavir::cli
