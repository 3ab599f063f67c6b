#include "value_frames.h"

#include <gtest/gtest.h>

#include "function_codes.h"
#include "sim_test_support.h"

namespace tavir::sim {
namespace {

// Every category's value frame is read back by the debugger's decoder as the address sent and
// the value cut to what the category carries, which is also the value the log shows.
TEST(ValueFrames, EveryCategoryReadsBackAsSent) {
    struct Case {
        SimAddress address;
        int32_t value;
        ValueRecord expected;  // functionCode, number, block, spare, value
    } cases[] = {
        {{0, 5, 0}, 1, {0, 0, 0, 0, 1}},                              // koppelsignaal: no number on receive
        {{fc::kEparm, 4321, 0}, 750, {fc::kEparm, 4321, 0, 0, 750}},  // 16-bit number and value
        {{fc::kEparm, 1, 0}, 70000, {fc::kEparm, 1, 0, 0, 70000 & 0xFFFF}},
        {{fc::kRequest, 3, 0}, 1, {fc::kRequest, 3, 0, 0, 1}},  // a flag in a short frame
        {{fc::kBlock, 0, 2}, 1, {fc::kBlock, 0, 2, 0, 1}},      // block only
        {{192, 7, 9}, 1, {192, 7, 9, 0, 1}},                    // signal group and block
        {{fc::kFixedGreenTime, 63, 0}, 100000, {fc::kFixedGreenTime, 63, 0, 0, 100000}},
        {{fc::kMaxGreenTime, 2, 0}, -10, {fc::kMaxGreenTime, 2, 0, 0, -10}},  // six groups: 32 bits
        {{fc::kClearanceTime, 3, 5}, 40, {fc::kClearanceTime, 3, 5, 0, 40}},  // from and to
        {{fc::kSwitch, 4000, 0}, 2, {fc::kSwitch, 4000, 0, 0, 1}},            // 12-bit number, "not 0"
        {{fc::kGapTime1, 1, 0}, 5000, {fc::kGapTime1, 1, 0, 0, 5000 & 0x0FFF}},
        {{fc::kCycleCounter, 0, 0}, 0x1234567, {fc::kCycleCounter, 0, 0, 0, 0x234567}},  // 24 bits
    };
    for (const Case& c : cases) {
        uint8_t frame[kRequestBufferSize];
        const int length = encodeValueFrame(c.address, c.value, frame);
        tavir::testing::DecodedFrames decoded;
        ASSERT_EQ(decoded.feed(std::vector<uint8_t>(frame, frame + length)), 1) << c.address.functionCode;
        EXPECT_EQ(decoded.records[0].kind, kWrite);
        EXPECT_EQ(decoded.records[0].record, c.expected) << c.address.functionCode;
        EXPECT_EQ(wireValue(c.address, c.value), c.expected.value);
    }
}

// A request frame as the debugger's encoder writes it comes back as the address it names.
TEST(ValueFrames, RequestsAreReadAtTheAddressTheyName) {
    struct Case {
        uint8_t kind;
        int32_t code, number, block, value;
        SimAddress expected;
        int32_t expectedValue;
    } cases[] = {
        {kWrite, fc::kFixedGreenTime, 2, -1, 75, {fc::kFixedGreenTime, 2, 0}, 75},
        {kMonitor, fc::kBlock, -1, 2, 0, {fc::kBlock, 0, 2}, 0},
        {kRead, fc::kClearanceTime, 3, 5, 0, {fc::kClearanceTime, 3, 5}, 0},
        {kWrite, fc::kEparm, 4321, -1, 1234, {fc::kEparm, 4321, 0}, 1234},
        {kRead, fc::kDate, -1, -1, 0, {fc::kDate, 0, 0}, 0},
        // Category 0: the number and the flag come from the frame, not from the decoder.
        {kWrite, 0, 300, -1, 1, {0, 300, 0}, 1},
        {kRead, 0, 7, -1, 1, {0, 7, 0}, 0},
    };
    for (const Case& c : cases) {
        tavir::testing::DecodedFrames decoded;
        ASSERT_EQ(decoded.feed(testing::requestFrame(c.kind, c.code, c.number, c.block, c.value)), 1);
        // The decoder's buffer still holds the frame, as it does when the simulator reads it.
        ClientRequest request = requestFromFrame(c.kind, decoded.records[0].record, decoded.decoder.buffer);
        EXPECT_EQ(request.address, c.expected) << "code " << c.code;
        EXPECT_EQ(request.value, c.expectedValue) << "code " << c.code;
    }
}

TEST(SimAddress, KeysSeparateEveryCarriedField) {
    SimAddress a{fc::kClearanceTime, 3, 5};
    EXPECT_EQ(addressFromKey(addressKey(a)), a);
    EXPECT_NE(addressKey({fc::kClearanceTime, 3, 5}), addressKey({fc::kClearanceTime, 5, 3}));
    // Fields a category does not carry do not split an address.
    EXPECT_EQ(addressKey({fc::kFixedGreenTime, 2, 9}), addressKey({fc::kFixedGreenTime, 2, 0}));
    EXPECT_EQ(addressKey({fc::kDate, 7, 0}), addressKey({fc::kDate, 0, 0}));
    EXPECT_EQ(addressKey({5, 7, 0}), addressKey({0, 7, 0}));
    // A number that the category cannot carry wraps as on the wire.
    EXPECT_EQ(addressKey({fc::kFixedGreenTime, -1, 0}), addressKey({fc::kFixedGreenTime, 63, 0}));
}

}  // namespace
}  // namespace tavir::sim
