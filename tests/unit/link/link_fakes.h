#pragma once
// Fakes of the link's seams: a delivery that keeps every record, sinks that count what reaches
// them, and a transport that keeps every write.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/transport.h"
#include "link/value_record.h"
#include "link/value_sinks.h"

namespace tavir::testing {

struct Delivered {
    uint8_t kind;
    ValueRecord record;
};

struct RecordedDelivery : ValueDelivery {
    std::vector<Delivered> records;
    void deliver(uint8_t kind, const ValueRecord& record) override { records.push_back({kind, record}); }
};

struct RecordedBatchSink : BatchValueSink {
    std::vector<ValueRecord> records;
    void OnBatchValue(const ValueRecord& record) override { records.push_back(record); }
};

struct RecordedWindowSink : WindowValueSink {
    std::vector<Delivered> records;
    void OnWindowValue(uint8_t kind, const ValueRecord& record) override {
        records.push_back({kind, record});
    }
};

struct RecordedTransport : Transport {
    std::vector<std::vector<uint8_t>> writes;
    void write(const uint8_t* bytes, size_t count) override { writes.emplace_back(bytes, bytes + count); }
};

inline std::string describe(const ValueRecord& r) {
    return "{fc " + std::to_string(r.functionCode) + ", number " + std::to_string(r.number) + ", block " +
           std::to_string(r.block) + ", spare " + std::to_string(r.spare) + ", value " +
           std::to_string(r.value) + "}";
}

inline ::testing::AssertionResult sameRecord(const ValueRecord& actual, const ValueRecord& expected) {
    if (actual.functionCode == expected.functionCode && actual.number == expected.number &&
        actual.block == expected.block && actual.spare == expected.spare && actual.value == expected.value)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << describe(actual) << ", expected " << describe(expected);
}

inline ValueRecord makeRecord(int32_t functionCode, int32_t number, int32_t block, int32_t value) {
    ValueRecord record;
    record.functionCode = functionCode;
    record.number = number;
    record.block = block;
    record.value = value;
    return record;
}

}  // namespace tavir::testing
