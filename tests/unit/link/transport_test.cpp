// The transports' portable side: the port name, how a reader hands its bytes on, and where a
// decoded value goes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "link/delivery_router.h"
#include "link/item_index.h"
#include "link/reader_route.h"
#include "link/request_encoder.h"
#include "link/serial_settings.h"
#include "link_fakes.h"

namespace tavir {
namespace {

TEST(SerialSettings, PortsOneToFourElseCom1) {
    EXPECT_STREQ(defaultSerialSettings(4, 9600).portName, "COM4");
    for (int outside : {0, 5, -1}) EXPECT_STREQ(defaultSerialSettings(outside, 9600).portName, "COM1");
    EXPECT_EQ(defaultSerialSettings(2, 19200).baudRate, 19200);
}

struct RecordedDump : DumpByteSink {
    LinkFlags* flags = nullptr;
    int stopAfter = -1;  // the tool stops the dump after this many bytes
    std::vector<uint8_t> bytes;
    void OnDumpByte(uint8_t byte) override {
        bytes.push_back(byte);
        if (--stopAfter == 0) flags->dpcomActive = false;
    }
};

class RouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        path.flags = &flags;
        path.decoder = &values.decoder;
    }
    // A value frame of a category 15 item, as the controller sends it.
    static std::vector<uint8_t> valueFrame(int32_t value) {
        uint8_t buffer[kRequestBufferSize];
        int length = encodeRequest(testing::makeRecord(15 * 32 + 1, 0, 0, value), kWrite, buffer);
        return std::vector<uint8_t>(buffer, buffer + length);
    }
    std::vector<int32_t> receivedValues() const {
        std::vector<int32_t> out;
        for (const auto& d : values.records) out.push_back(d.record.value);
        return out;
    }
    LinkFlags flags;
    testing::DecodedFrames values;
    ReceivePath path;
};

TEST_F(RouteTest, AReadDuringASwitchIsDroppedAndTheFrameGoesOnAfterIt) {
    std::vector<uint8_t> frame = valueFrame(42);
    routeReceivedBytes(path, frame.data(), 1);
    flags.switchingChildWindow = true;
    routeReceivedBytes(path, frame.data() + 1, frame.size() - 1);
    flags.switchingChildWindow = false;
    EXPECT_TRUE(values.records.empty());
    routeReceivedBytes(path, frame.data() + 1, frame.size() - 1);  // the decoder still holds the header
    EXPECT_EQ(receivedValues(), std::vector<int32_t>{42});
}

TEST_F(RouteTest, TheDumpToolTakesEachByteWhileItsFlagIsSet) {
    RecordedDump dump;
    dump.flags = &flags;
    dump.stopAfter = 2;
    path.dumpSink = &dump;
    flags.dpcomActive = true;
    std::vector<uint8_t> stream = {0x01, 0x02};
    std::vector<uint8_t> frame = valueFrame(9);
    stream.insert(stream.end(), frame.begin(), frame.end());
    routeReceivedBytes(path, stream.data(), stream.size());
    EXPECT_EQ(dump.bytes, (std::vector<uint8_t>{0x01, 0x02}));
    EXPECT_EQ(receivedValues(), std::vector<int32_t>{9});

    // Without a sink the bytes are lost, not decoded.
    path.dumpSink = nullptr;
    flags.dpcomActive = true;
    routeReceivedBytes(path, frame.data(), frame.size());
    EXPECT_EQ(values.records.size(), 1u);
}

TEST(DeliveryRouter, AnOpenBatchDialogTakesEveryValueElseWindowOne) {
    enum Destination { kBatch, kWindow, kNowhere };
    // The open batch dialog, whether the batch and window sinks are set, and where a value goes.
    const std::tuple<std::string, bool, bool, Destination> rows[] = {
        {"", true, true, kWindow},
        {"", true, false, kNowhere},
        {"AANPAS", true, true, kBatch},
        {"AFNAME", true, true, kBatch},
        {"VERSCHILLEN", true, true, kBatch},
        {"AFNAME", false, true, kNowhere},  // a dialog without its sink yet keeps values from the window
    };
    for (const auto& [dialog, hasBatchSink, hasWindowSink, expected] : rows) {
        testing::RecordedBatchSink batch;
        testing::RecordedDelivery window;
        DeliveryRouter router;
        router.aanpasActive = dialog == "AANPAS";
        router.afnameActive = dialog == "AFNAME";
        router.verschillenActive = dialog == "VERSCHILLEN";
        if (hasBatchSink) router.batchSink = &batch;
        if (hasWindowSink) router.windowSink = &window;

        const ValueRecord record = testing::makeRecord(69, 7, 0, 1);
        router.deliver(kRead, record);
        EXPECT_EQ(batch.records.size(), expected == kBatch ? 1u : 0u) << dialog;
        ASSERT_EQ(window.records.size(), expected == kWindow ? 1u : 0u) << dialog;
        if (expected == kWindow) {
            EXPECT_EQ(window.records[0].kind, kRead);
            EXPECT_EQ(window.records[0].record, record);
        }
    }
}

using testing::makeRecord;

struct IndexDeleter {
    void operator()(ItemIndex* index) const { DestroyItemIndex(index); }
};
using IndexPtr = std::unique_ptr<ItemIndex, IndexDeleter>;

// The index only stores and returns item addresses, so any distinct addresses stand in for items.
struct FakeItems {
    std::vector<int> slots;
    explicit FakeItems(size_t count) : slots(count) {}
    DebugItem* operator[](size_t i) { return reinterpret_cast<DebugItem*>(&slots[i]); }
};

TEST(ItemIndex, NoneAndZeroAreTheSameAddress) {
    IndexPtr index(CreateItemIndex(4));
    FakeItems items(4);
    ASSERT_EQ(InsertItem(index.get(), makeRecord(128, -1, 5, 0), items[0]), 0);  // a block item
    ASSERT_EQ(InsertItem(index.get(), makeRecord(64, 0, -1, 0), items[1]), 1);
    EXPECT_EQ(FindItem(index.get(), makeRecord(128, 0, 5, 0)), items[0]);  // as it is received
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, -1, -1, 0)), items[1]);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, -1, 0, 7), items[2]), -1)
        << "the same key: the first stays";
    EXPECT_EQ(FindItem(index.get(), makeRecord(64, 0, 0, 0)), items[1]);
    // The key leaves 12000 numbers per block: number 12000 meets block 1.
    EXPECT_EQ(RecordKey(makeRecord(10, 12000, 0, 0)), RecordKey(makeRecord(10, 0, 1, 0)));
}

TEST(ItemIndex, RefusesWhenFullOrWithoutAnItem) {
    IndexPtr index(CreateItemIndex(1));
    FakeItems items(2);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 1, -1, 0), nullptr), -1);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 1, -1, 0), items[0]), 0);
    EXPECT_EQ(InsertItem(index.get(), makeRecord(64, 2, -1, 0), items[1]), -1);
    EXPECT_EQ(index->count, 1);
    IndexPtr none(CreateItemIndex(0));
    EXPECT_EQ(FindItem(none.get(), makeRecord(0, 0, 0, 0)), nullptr);
    EXPECT_EQ(CreateItemIndex(-1), nullptr);
}

}  // namespace
}  // namespace tavir
