#include "link/request_encoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link_fakes.h"

namespace tavir {
namespace {

using testing::makeRecord;

std::vector<uint8_t> encode(const ValueRecord& record, uint8_t kind) {
    uint8_t buffer[kRequestBufferSize];
    const int length = encodeRequest(record, kind, buffer);
    return std::vector<uint8_t>(buffer, buffer + length);
}

using Bytes = std::vector<uint8_t>;

TEST(RequestEncoder, Frames) {
    struct Case {
        const char* name;
        ValueRecord record;
        uint8_t kind;
        Bytes expected;
    } cases[] = {
        // General rule, categories 2 to 12.
        {"category 12 example", makeRecord(384, 3, 5, 40), kWrite, {0xBC, 0x44, 0x40, 0x43, 0x45, 0x68}},
        {"category 2 Write 1 is the flag", makeRecord(69, 7, -1, 1), kWrite, {0xA2, 0x65, 0x47}},
        {"category 2 Write 0", makeRecord(69, 7, -1, 0), kWrite, {0xA2, 0x45, 0x47}},
        {"category 2 Write 2 needs a group",
         makeRecord(69, 7, -1, 2),
         kWrite,
         {0xB2, 0x43, 0x45, 0x47, 0x42}},
        {"Read of value 1 carries the flag", makeRecord(69, 7, -1, 1), kRead, {0xE2, 0x65, 0x47}},
        {"Read of value 0", makeRecord(69, 7, -1, 0), kRead, {0xE2, 0x45, 0x47}},
        {"Read never carries groups", makeRecord(69, 7, -1, 4000), kRead, {0xE2, 0x45, 0x47}},
        {"Monitor of value 1 carries the flag", makeRecord(69, 7, -1, 1), kMonitor, {0xC2, 0x65, 0x47}},
        {"Stop", makeRecord(69, 7, -1, 0), kStop, {0x82, 0x45, 0x47}},
        {"value 63 in one group", makeRecord(320, 3, -1, 63), kWrite, {0xBA, 0x43, 0x40, 0x43, 0x7F}},
        {"value 64 in two groups", makeRecord(320, 3, -1, 64), kWrite, {0xBA, 0x44, 0x40, 0x43, 0x41, 0x40}},
        {"value 0xFFF in two groups",
         makeRecord(320, 3, -1, 0xFFF),
         kWrite,
         {0xBA, 0x44, 0x40, 0x43, 0x7F, 0x7F}},
        {"value 0x1000 in three groups",
         makeRecord(320, 3, -1, 0x1000),
         kWrite,
         {0xBA, 0x45, 0x40, 0x43, 0x41, 0x40, 0x40}},
        {"value 0x3FFFF in three groups",
         makeRecord(320, 3, -1, 0x3FFFF),
         kWrite,
         {0xBA, 0x45, 0x40, 0x43, 0x7F, 0x7F, 0x7F}},
        {"value 0xFFFFFF in four groups",
         makeRecord(320, 3, -1, 0xFFFFFF),
         kWrite,
         {0xBA, 0x46, 0x40, 0x43, 0x7F, 0x7F, 0x7F, 0x7F}},
        {"value 0x3FFFFFFF in five groups",
         makeRecord(320, 3, -1, 0x3FFFFFFF),
         kWrite,
         {0xBA, 0x47, 0x40, 0x43, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F}},
        {"value 0x40000000 in six groups",
         makeRecord(320, 3, -1, 0x40000000),
         kWrite,
         {0xBA, 0x48, 0x40, 0x43, 0x41, 0x40, 0x40, 0x40, 0x40, 0x40}},
        {"negative value in six groups",
         makeRecord(320, 3, -1, -1),
         kWrite,
         {0xBA, 0x48, 0x40, 0x43, 0x43, 0x7F, 0x7F, 0x7F, 0x7F, 0x7F}},
        {"longest frame: number, block and six groups",
         makeRecord(384, 3, 5, INT32_MIN),
         kWrite,
         {0xBC, 0x49, 0x40, 0x43, 0x45, 0x42, 0x40, 0x40, 0x40, 0x40, 0x40}},
        {"number and block without groups are long",
         makeRecord(197, 7, 8, 1),
         kWrite,
         {0xB6, 0x43, 0x65, 0x47, 0x48}},
        {"block only", makeRecord(133, -1, 8, 3), kWrite, {0xB4, 0x43, 0x45, 0x48, 0x43}},
        {"block only, short", makeRecord(133, -1, 8, 0), kMonitor, {0xC4, 0x45, 0x48}},
        {"only the low byte of block marks none", makeRecord(69, 7, 0x1FF, 0), kRead, {0xE2, 0x45, 0x47}},
        {"block with a high byte is sent by its low group",
         makeRecord(197, 7, 0x105, 0),
         kRead,
         {0xF6, 0x43, 0x45, 0x47, 0x45}},
        {"number beyond 63 keeps its low group", makeRecord(69, 70, -1, 0), kRead, {0xE2, 0x45, 0x46}},
        {"neither number nor block sends a zero number",
         makeRecord(64, -1, -1, 0),
         kRead,
         {0xE2, 0x40, 0x40}},
        {"neither number nor block, with a value",
         makeRecord(64, -1, -1, 5),
         kWrite,
         {0xB2, 0x43, 0x40, 0x40, 0x45}},
        {"kind bits outside 6..5 are ignored", makeRecord(69, 7, -1, 0), 0xFF, {0xE2, 0x45, 0x47}},
        // Fixed layouts.
        {"category 15 Write",
         makeRecord(481, -1, -1, 0x123456),
         kWrite,
         {0xBF, 0x45, 0x41, 0x44, 0x63, 0x51, 0x56}},
        {"category 15 Stop still sends the value",
         makeRecord(481, -1, -1, 0x123456),
         kStop,
         {0x9F, 0x45, 0x41, 0x44, 0x63, 0x51, 0x56}},
        {"category 15 Read of 0",
         makeRecord(480, -1, -1, 0),
         kRead,
         {0xFF, 0x45, 0x40, 0x40, 0x40, 0x40, 0x40}},
        {"category 0 drops the sub-number, flag for non-zero",
         makeRecord(5, 130, -1, 7),
         kMonitor,
         {0xD0, 0x43, 0x60, 0x42, 0x42}},
        {"category 0 value 0", makeRecord(5, 130, -1, 0), kWrite, {0xB0, 0x43, 0x40, 0x42, 0x42}},
        {"category 0 negative value sets the flag",
         makeRecord(0, 1, -1, -3),
         kRead,
         {0xF0, 0x43, 0x60, 0x40, 0x41}},
        {"category 0 number -1 shifts arithmetically",
         makeRecord(0, -1, -1, 0),
         kRead,
         {0xF0, 0x43, 0x40, 0x7F, 0x7F}},
        {"category 13 flag for non-zero", makeRecord(417, 66, -1, 5), kWrite, {0xBD, 0x43, 0x61, 0x41, 0x42}},
        {"category 13 value 0", makeRecord(417, 66, -1, 0), kWrite, {0xBD, 0x43, 0x41, 0x41, 0x42}},
        {"category 14", makeRecord(450, 66, -1, 4095), kWrite, {0xBE, 0x45, 0x42, 0x41, 0x42, 0x7F, 0x7F}},
        {"category 14 Read still sends the value",
         makeRecord(450, 66, -1, 65),
         kRead,
         {0xFE, 0x45, 0x42, 0x41, 0x42, 0x41, 0x41}},
        {"category 1",
         makeRecord(35, 4660, -1, 48879),
         kWrite,
         {0xB1, 0x47, 0x43, 0x44, 0x63, 0x44, 0x6F, 0x6E, 0x4F}},
        {"category 1 number -1",
         makeRecord(32, -1, -1, 0),
         kRead,
         {0xF1, 0x47, 0x40, 0x7F, 0x7F, 0x4F, 0x40, 0x40, 0x40}},
    };
    for (const Case& c : cases) {
        const Bytes frame = encode(c.record, c.kind);
        EXPECT_EQ(frame, c.expected) << c.name;
        EXPECT_LE(frame.size(), static_cast<size_t>(kLongestFrame)) << c.name;
    }
}

TEST(RequestEncoder, Category15IsAlwaysSevenBytes) {
    const int32_t values[] = {0, 1, 2, 63, 0xFFFFFF, 0x1000000, -1, INT32_MIN};
    const uint8_t kinds[] = {kStop, kWrite, kMonitor, kRead};
    for (int32_t value : values) {
        for (uint8_t kind : kinds) {
            EXPECT_EQ(encode(makeRecord(495, -1, -1, value), kind).size(), 7u)
                << value << " kind " << int(kind);
        }
    }
}

TEST(RequestEncoder, BufferIsClearedBehindTheFrame) {
    uint8_t buffer[kRequestBufferSize];
    std::memset(buffer, 0xCC, sizeof buffer);
    const int length = encodeRequest(makeRecord(69, 7, -1, 1), kWrite, buffer);
    ASSERT_EQ(length, 3);
    for (int i = length; i < kRequestBufferSize; ++i) EXPECT_EQ(buffer[i], 0) << "position " << i;
}

TEST(RequestEncoder, SendRequestWritesOneFrameInOneCall) {
    testing::RecordedTransport transport;
    SendRequest(transport, makeRecord(384, 3, 5, 40), kWrite);
    SendRequest(transport, makeRecord(69, 7, -1, 1), kRead);
    ASSERT_EQ(transport.writes.size(), 2u);
    EXPECT_EQ(transport.writes[0], (Bytes{0xBC, 0x44, 0x40, 0x43, 0x45, 0x68}));
    EXPECT_EQ(transport.writes[1], (Bytes{0xE2, 0x65, 0x47}));
}

}  // namespace
}  // namespace tavir
