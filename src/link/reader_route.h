#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "link/frame_decoder.h"
#include "link/link_flags.h"

namespace tavir {

// The memory dump tool's side of the link: it takes the raw reply stream while it receives.
class DumpByteSink {
public:
    virtual ~DumpByteSink() = default;
    virtual void OnDumpByte(uint8_t byte) = 0;
};

// Where a reader thread hands what it read. The dump tool sets dumpSink before it sets
// dpcomActive and keeps the sink alive while the link lives, since the reader may be using it
// at the moment the flag drops.
struct ReceivePath {
    LinkFlags* flags = nullptr;
    FrameDecoder* decoder = nullptr;
    std::atomic<DumpByteSink*> dumpSink{nullptr};
};

// Hands one read's bytes on in order: each to the dump tool while it receives, else to the frame
// decoder. A read that arrives while a child window is being switched is dropped whole.
void routeReceivedBytes(ReceivePath& path, const uint8_t* bytes, size_t count);

}  // namespace tavir
