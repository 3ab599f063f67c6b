#include "link/reader_route.h"

namespace tavir {

void routeReceivedBytes(ReceivePath& path, const uint8_t* bytes, size_t count) {
    if (path.flags == nullptr || path.flags->switchingChildWindow.load()) return;
    for (size_t i = 0; i < count; ++i) {
        // The dump tool may start or stop between two bytes of one read.
        if (path.flags->dpcomActive.load()) {
            DumpByteSink* sink = path.dumpSink.load();
            if (sink != nullptr) sink->OnDumpByte(bytes[i]);
        } else if (path.decoder != nullptr) {
            path.decoder->FeedByte(bytes[i]);
        }
    }
}

}  // namespace tavir
