#pragma once
#include <atomic>

namespace tavir {

// Switches that the user-interface thread sets and the reader thread reads for every byte.
// Each is one atomic so that the reader sees a change without a lock and never a torn value.
struct LinkFlags {
    std::atomic<bool> switchingChildWindow{false};  // bytes are dropped while a window is switched
    std::atomic<bool> dpcomActive{false};           // bytes go to the dump tool, not the decoder
    std::atomic<bool> receiveTrace{false};          // the TCP reader prints each received byte
};

}  // namespace tavir
