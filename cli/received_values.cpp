#include "received_values.h"

#include <csignal>

namespace tavir::cli {

void ReceivedValues::OnBatchValue(const ValueRecord& record) {
    const auto now = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> lock(mutex_);
    values_.push_back({now, record});
    pending_.store(true);
}

std::vector<ReceivedValue> ReceivedValues::take() {
    std::vector<ReceivedValue> taken;
    std::lock_guard<std::mutex> lock(mutex_);
    taken.swap(values_);
    pending_.store(false);
    return taken;
}

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) {
    gInterrupted = 1;
}

}  // namespace

void installInterruptHandler() {
    gInterrupted = 0;
    std::signal(SIGINT, onInterrupt);
}

bool interrupted() {
    return gInterrupted != 0;
}

}  // namespace tavir::cli
