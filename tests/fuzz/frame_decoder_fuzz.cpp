// Feeds arbitrary bytes to the frame decoder. Every record it delivers is encoded again as a
// request of the same kind and decoded by a second decoder; the second record must equal the
// first wherever the frame layout can carry the field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/frame_decoder.h"
#include "link/request_encoder.h"

namespace {

using tavir::ValueRecord;

bool hasNumber(int category) {
    return category == 2 || category == 3 || category == 6 || category == 7 ||
           (category >= 8 && category <= 12);
}

bool hasBlock(int category) {
    return category == 4 || category == 5 || category == 6 || category == 7 || category == 11 ||
           category == 12;
}

void check(bool condition) {
    if (!condition) std::abort();
}

struct Capture : tavir::ValueDelivery {
    int count = 0;
    uint8_t kind = 0;
    ValueRecord record;
    void deliver(uint8_t deliveredKind, const ValueRecord& delivered) override {
        ++count;
        kind = deliveredKind;
        record = delivered;
    }
};

struct ReEncode : tavir::ValueDelivery {
    void deliver(uint8_t kind, const ValueRecord& record) override {
        check(kind == (kind & 0x60));
        check(record.functionCode >= 0 && record.functionCode <= 511);
        check(record.spare == 0);
        const int category = record.functionCode >> 5;
        if (kind != tavir::kWrite) check(record.value == 0);

        // The request form: -1 and a low byte 0xFF stand for the number and block a category lacks.
        ValueRecord request = record;
        if (category >= 2 && category <= 12) {
            if (!hasNumber(category)) request.number = -1;
            if (!hasBlock(category)) request.block = -1;
        }
        uint8_t frame[tavir::kRequestBufferSize];
        const int length = tavir::encodeRequest(request, kind, frame);
        check(length >= 3 && length <= tavir::kLongestFrame);

        tavir::FrameDecoder again;
        Capture capture;
        again.delivery = &capture;
        int completed = 0;
        for (int i = 0; i < length; ++i) completed += again.FeedByte(frame[i]);
        check(completed == 1 && capture.count == 1 && capture.kind == kind);

        const ValueRecord& back = capture.record;
        if (category == 0) {
            // Category 0 carries no sub-number on the wire, and the low group of its number
            // arrives where the value is read.
            check(back.functionCode == 0 && back.number == 0 && back.block == 0);
            return;
        }
        check(back.functionCode == record.functionCode);
        check(back.number == record.number);
        check(back.block == record.block);
        check(back.value == record.value);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tavir::FrameDecoder decoder;
    ReEncode reEncode;
    decoder.delivery = &reEncode;
    for (size_t i = 0; i < size; ++i) {
        decoder.FeedByte(data[i]);
        check(decoder.state <= 2 && decoder.index >= 0 && decoder.index < tavir::kFrameBufferSize);
    }
    return 0;
}
