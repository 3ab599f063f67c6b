#include "link_buffer.h"

namespace tavir::sim {

void LinkBuffer::send(const uint8_t* bytes, size_t count) {
    if (size() + count > kMaxPending) {
        droppedBytes += count;
        return;
    }
    // Keep the vector from growing by what has already gone out.
    if (sent > 0 && sent == pending.size()) {
        pending.clear();
        sent = 0;
    }
    pending.insert(pending.end(), bytes, bytes + count);
}

void LinkBuffer::consume(size_t count) {
    sent += count;
    if (sent >= pending.size()) {
        pending.clear();
        sent = 0;
    }
}

void LinkBuffer::clear() {
    pending.clear();
    sent = 0;
    session = -1;
    endRequested = false;
    resetRequested = false;
}

}  // namespace tavir::sim
