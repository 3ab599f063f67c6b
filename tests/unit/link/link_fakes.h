#pragma once
// Fakes of the link's seams: a delivery, a decoder and sinks that keep every record, and a
// transport that keeps every write.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "link/frame_decoder.h"
#include "link/transport.h"
#include "link/value_record.h"
#include "link/value_sinks.h"

namespace tavir {

inline bool operator==(const ValueRecord& a, const ValueRecord& b) {
    return a.functionCode == b.functionCode && a.number == b.number && a.block == b.block &&
           a.spare == b.spare && a.value == b.value;
}
inline void PrintTo(const ValueRecord& r, std::ostream* out) {
    *out << "{fc " << r.functionCode << ", number " << r.number << ", block " << r.block << ", spare "
         << r.spare << ", value " << r.value << "}";
}

namespace testing {

inline ValueRecord makeRecord(int32_t functionCode, int32_t number, int32_t block, int32_t value) {
    return ValueRecord{functionCode, number, block, 0, value};
}

struct Delivered {
    uint8_t kind;
    ValueRecord record;
};

struct RecordedDelivery : ValueDelivery, WindowValueSink {
    std::vector<Delivered> records;
    void deliver(uint8_t kind, const ValueRecord& record) override { records.push_back({kind, record}); }
    void OnWindowValue(uint8_t kind, const ValueRecord& record) override { deliver(kind, record); }
};

// A decoder of its own that keeps every record it delivers.
struct DecodedFrames : RecordedDelivery {
    FrameDecoder decoder;
    DecodedFrames() { decoder.delivery = this; }
    // Feeds the bytes (a string or a vector); gives the number of frames they completed.
    template <class Bytes>
    int feed(const Bytes& bytes) {
        int frames = 0;
        for (auto byte : bytes) frames += decoder.FeedByte(static_cast<uint8_t>(byte));
        return frames;
    }
};

struct RecordedBatchSink : BatchValueSink {
    std::vector<ValueRecord> records;
    void OnBatchValue(const ValueRecord& record) override { records.push_back(record); }
};

struct RecordedTransport : Transport {
    std::vector<std::vector<uint8_t>> writes;
    void write(const uint8_t* bytes, size_t count) override { writes.emplace_back(bytes, bytes + count); }
};

}  // namespace testing
}  // namespace tavir
