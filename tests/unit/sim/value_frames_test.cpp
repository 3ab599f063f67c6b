#include "value_frames.h"

#include <gtest/gtest.h>

#include "sim_test_support.h"

namespace tavir::sim {
namespace {

using testing::Client;
using testing::RecordingLink;

// Every category's value frame is read back by the debugger's decoder as the address and the
// value that were sent, within what the category carries.
TEST(ValueFrames, EveryCategoryReadsBackAsSent) {
    struct Case {
        SimAddress address;
        int32_t value;
        ValueRecord expected;  // functionCode, number, block, spare, value
    } cases[] = {
        {{0, 5, 0}, 1, {0, 0, 0, 0, 1}},  // koppelsignaal: no number on receive
        {{0, 5, 0}, 0, {0, 0, 0, 0, 0}},
        {{32, 4321, 0}, 750, {32, 4321, 0, 0, 750}},  // EPARM, 16-bit number and value
        {{34, 2, 0}, 65535, {34, 2, 0, 0, 65535}},
        {{64, 3, 0}, 1, {64, 3, 0, 0, 1}},  // A: flag in a short frame
        {{64, 3, 0}, 0, {64, 3, 0, 0, 0}},
        {{128, 0, 2}, 1, {128, 0, 2, 0, 1}},  // BLOK: block only
        {{160, 0, 47}, 5, {160, 0, 47, 0, 5}},
        {{192, 7, 9}, 1, {192, 7, 9, 0, 1}},  // SG and BK
        {{265, 7, 0}, 1, {265, 7, 0, 0, 1}},
        {{288, 1, 0}, 37, {288, 1, 0, 0, 37}},  // running time in tenths
        {{320, 0, 0}, 60, {320, 0, 0, 0, 60}},
        {{320, 63, 0}, 100000, {320, 63, 0, 0, 100000}},
        {{326, 2, 0}, -10, {326, 2, 0, 0, -10}},  // six groups carry 32 bits
        {{352, 1, 6}, 12, {352, 1, 6, 0, 12}},
        {{384, 3, 5}, 40, {384, 3, 5, 0, 40}},  // clearance: from and to
        {{384, 3, 5}, 1, {384, 3, 5, 0, 1}},
        {{420, 4000, 0}, 1, {420, 4000, 0, 0, 1}},  // switch: 12-bit number, flag
        {{426, 15, 0}, 0, {426, 15, 0, 0, 0}},
        {{450, 2, 0}, 2300, {450, 2, 0, 0, 2300}},  // clock time, 12 bits
        {{462, 8, 0}, 4095, {462, 8, 0, 0, 4095}},
        {{480, 0, 0}, 123456, {480, 0, 0, 0, 123456}},  // counters, 24 bits
        {{481, 0, 0}, 31224, {481, 0, 0, 0, 31224}},
    };
    for (const Case& c : cases) {
        RecordingLink link;
        Client client;
        uint8_t frame[kRequestBufferSize];
        int length = encodeValueFrame(c.address, c.value, frame);
        link.send(frame, static_cast<size_t>(length));
        auto got = client.take(link);
        ASSERT_EQ(got.size(), 1u) << "code " << c.address.functionCode;
        EXPECT_EQ(got[0].kind, kWrite);
        EXPECT_EQ(got[0].record.functionCode, c.expected.functionCode);
        EXPECT_EQ(got[0].record.number, c.expected.number) << "code " << c.address.functionCode;
        EXPECT_EQ(got[0].record.block, c.expected.block) << "code " << c.address.functionCode;
        EXPECT_EQ(got[0].record.value, c.expected.value) << "code " << c.address.functionCode;
    }
}

TEST(ValueFrames, WiderThanTheCategoryIsCutToItsWidth) {
    struct Case {
        SimAddress address;
        int32_t value;
        int32_t expectedValue;
    } cases[] = {
        {{32, 1, 0}, 70000, 70000 & 0xFFFF},
        {{465, 1, 0}, 5000, 5000 & 0x0FFF},
        {{480, 0, 0}, 0x1234567, 0x234567},
        {{420, 1, 0}, 2, 1},  // a flag category carries "not 0"
    };
    for (const Case& c : cases) {
        RecordingLink link;
        Client client;
        uint8_t frame[kRequestBufferSize];
        link.send(frame, static_cast<size_t>(encodeValueFrame(c.address, c.value, frame)));
        auto got = client.take(link);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].record.value, c.expectedValue) << "code " << c.address.functionCode;
        EXPECT_EQ(wireValue(c.address, c.value), c.expectedValue) << "code " << c.address.functionCode;
    }
}

// A request frame as the debugger's encoder writes it comes back as the same address.
TEST(ValueFrames, RequestsAreReadAtTheAddressTheyName) {
    struct Case {
        uint8_t kind;
        int32_t code, number, block, value;
        SimAddress expected;
        int32_t expectedValue;
    } cases[] = {
        {kRead, 320, 2, -1, 0, {320, 2, 0}, 0},
        {kWrite, 320, 2, -1, 75, {320, 2, 0}, 75},
        {kMonitor, 128, -1, 2, 0, {128, 0, 2}, 0},
        {kRead, 384, 3, 5, 0, {384, 3, 5}, 0},
        {kWrite, 32, 4321, -1, 1234, {32, 4321, 0}, 1234},
        {kWrite, 420, 3, -1, 1, {420, 3, 0}, 1},
        {kRead, 481, -1, -1, 0, {481, 0, 0}, 0},
        // Category 0: the number and flag come from the frame, not from the decoder.
        {kWrite, 0, 300, -1, 1, {0, 300, 0}, 1},
        {kWrite, 0, 300, -1, 0, {0, 300, 0}, 0},
        {kRead, 0, 7, -1, 1, {0, 7, 0}, 0},
    };
    for (const Case& c : cases) {
        struct Capture : ValueDelivery {
            FrameDecoder decoder;
            std::vector<ClientRequest> requests;
            void deliver(uint8_t kind, const ValueRecord& record) override {
                requests.push_back(requestFromFrame(kind, record, decoder.buffer));
            }
        } capture;
        capture.decoder.delivery = &capture;
        for (uint8_t b : testing::requestFrame(c.kind, c.code, c.number, c.block, c.value))
            capture.decoder.FeedByte(b);
        ASSERT_EQ(capture.requests.size(), 1u);
        EXPECT_EQ(capture.requests[0].kind, c.kind);
        EXPECT_EQ(capture.requests[0].address, c.expected) << "code " << c.code;
        EXPECT_EQ(capture.requests[0].value, c.expectedValue) << "code " << c.code;
    }
}

TEST(ValueFrames, FrameLengthFollowsTheForm) {
    const uint8_t shortFrame[] = {0xA2, 0x45, 0x47};
    const uint8_t longFrame[] = {0xB2, 0x44, 0x45, 0x47, 0x41, 0x42};
    const uint8_t emptyLong[] = {0xB2, 0x40, 0x45};
    EXPECT_EQ(frameLength(shortFrame), 3);
    EXPECT_EQ(frameLength(longFrame), 6);
    EXPECT_EQ(frameLength(emptyLong), 3);
}

TEST(SimAddress, KeysSeparateEveryCarriedField) {
    SimAddress a{384, 3, 5};
    EXPECT_EQ(addressFromKey(addressKey(a)), a);
    EXPECT_NE(addressKey({384, 3, 5}), addressKey({384, 5, 3}));
    // Fields a category does not carry do not split an address.
    EXPECT_EQ(addressKey({320, 2, 9}), addressKey({320, 2, 0}));
    EXPECT_EQ(addressKey({481, 7, 0}), addressKey({481, 0, 0}));
    EXPECT_EQ(addressKey({5, 7, 0}), addressKey({0, 7, 0}));
    // A number that the category cannot carry wraps as on the wire.
    EXPECT_EQ(addressKey({320, -1, 0}), addressKey({320, 63, 0}));
}

}  // namespace
}  // namespace tavir::sim
