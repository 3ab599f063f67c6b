#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulator.h"

namespace tavir::sim {

// The platform side of one link: what the simulator sends waits here until the descriptor takes
// it. A client that stops reading cannot make it grow without bound: beyond kMaxPending bytes
// new data is dropped, as a controller's full send buffer would drop it.
class LinkBuffer : public LinkOutput {
public:
    static constexpr size_t kMaxPending = 4 * 1024 * 1024;

    void send(const uint8_t* bytes, size_t count) override;
    void end(bool reset) override {
        endRequested = true;
        resetRequested = reset;
    }

    bool hasPending() const { return sent < pending.size(); }
    const uint8_t* data() const { return pending.data() + sent; }
    size_t size() const { return pending.size() - sent; }
    void consume(size_t count);
    void clear();

    int session = -1;
    bool endRequested = false;
    bool resetRequested = false;
    size_t droppedBytes = 0;

private:
    std::vector<uint8_t> pending;
    size_t sent = 0;
};

}  // namespace tavir::sim
