// Feeds arbitrary bytes to the frame decoder. Every record it delivers is encoded again as a
// request of the same kind and decoded by a second decoder; the second record must equal the
// first, except for category 0, which is sent in a layout of its own.
#include "fuzz_files.h"
#include "link/request_encoder.h"

namespace {

using namespace tavir;
using fuzz::check;

struct ReEncode : ValueDelivery {
    void deliver(uint8_t kind, const ValueRecord& record) override {
        check(kind == (kind & wire::kKindMask));
        check(record.functionCode >= 0 && record.functionCode < wire::kFunctionCodes && record.spare == 0);
        if (kind != kWrite) check(record.value == 0);

        // The request form: -1 and a low byte 0xFF for what a category of the general rule lacks.
        const int category = wire::categoryOf(record.functionCode);
        ValueRecord request = record;
        if (wire::layoutOf(category).generalRule) {
            if (!wire::categoryHasNumber(category)) request.number = -1;
            if (!wire::categoryHasBlock(category)) request.block = -1;
        }
        uint8_t frame[kRequestBufferSize];
        const int length = encodeRequest(request, kind, frame);
        check(length >= 3 && length <= kLongestFrame);

        const fuzz::Decoded again = fuzz::decodeFrame(frame, static_cast<size_t>(length));
        const ValueRecord& back = again.record;
        check(again.kind == kind);
        if (category == 0) {
            check(back.functionCode == 0 && back.number == 0 && back.block == 0);
            return;
        }
        check(back.functionCode == record.functionCode && back.number == record.number &&
              back.block == record.block && back.value == record.value);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FrameDecoder decoder;
    ReEncode reEncode;
    decoder.delivery = &reEncode;
    for (size_t i = 0; i < size; ++i) {
        decoder.FeedByte(data[i]);
        check(decoder.state <= 2 && decoder.index >= 0 && decoder.index < kFrameBufferSize);
    }
    return 0;
}
