#include <algorithm>

// The transports' portable side: serial settings, socket error descriptions, and how a reader
// hands its bytes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/reader_route.h"
#include "link/request_encoder.h"
#include "link/serial_settings.h"
#include "link/tcp_descriptions.h"

namespace tavir {
namespace {

TEST(SerialSettings, PortNameAndDefaults) {
    struct Case {
        int comPort;
        const char* name;
    };
    for (Case c : {Case{1, "COM1"}, Case{2, "COM2"}, Case{3, "COM3"}, Case{4, "COM4"}, Case{0, "COM1"},
                   Case{5, "COM1"}, Case{7, "COM1"}, Case{-1, "COM1"}}) {
        EXPECT_STREQ(defaultSerialSettings(c.comPort, 9600).portName, c.name) << c.comPort;
    }
    SerialSettings s = defaultSerialSettings(2, 19200);
    EXPECT_EQ(s.baudRate, 19200);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_EQ(s.parity, 0);
    EXPECT_EQ(s.stopBits, 0);
    EXPECT_EQ(s.dtrControl, 1);
    EXPECT_EQ(s.rtsControl, 1);
    EXPECT_EQ(
        s.ctsOutFlow + s.dsrOutFlow + s.dsrSensitivity + s.xonXoffOut + s.xonXoffIn + s.txContinueOnXoff, 0);
    EXPECT_EQ(s.xonChar, 0x11);
    EXPECT_EQ(s.xoffChar, 0x13);
    EXPECT_EQ(s.eventMask, 0x1F8u);
    EXPECT_EQ(eventCharacter(s), '\0');  // no EV_RXFLAG in the mask
    s.eventMask |= kEventRxFlag;
    EXPECT_EQ(eventCharacter(s), '\n');
    EXPECT_EQ(s.timeouts.readIntervalTimeout, 1u);
    EXPECT_EQ(s.timeouts.readTotalTimeoutMultiplier, 10u);
    EXPECT_EQ(s.timeouts.readTotalTimeoutConstant, 0u);
    EXPECT_EQ(s.timeouts.writeTotalTimeoutMultiplier, 10u);
    EXPECT_EQ(s.timeouts.writeTotalTimeoutConstant, 0u);
}

TEST(SocketErrorDescriptions, QuotedRowsAreExact) {
    struct Case {
        SocketCall call;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {SocketCall::kConnect, kWsaEconnrefused, "The attempt to connect was forcefully rejected."},
        {SocketCall::kConnect, kWsaEtimedout,
         "Attempt to connect timed out without establishing a connection."},
        {SocketCall::kConnect, kWsaEnetunreach, "The network cannot be reached from this host at this time."},
        {SocketCall::kSend, kWsaEnotconn, "The socket is not connected."},
        {SocketCall::kReceive, kWsaEnotconn, "The socket is not connected."},
        {SocketCall::kSend, kWsaEhostunreach,
         "The remote host cannot be reached from this host at this time."},
        {SocketCall::kSocket, kWsaEnobufs, "No buffer space is available. The socket cannot be created."},
        {SocketCall::kSocket, kWsaNotinitialised,
         "Successful WSAStartup must occur before using this function."},
        {SocketCall::kConnect, kWsaNotinitialised,
         "A successful WSAStartup must occur before using this function."},
        {SocketCall::kSend, kWsaNotinitialised,
         "A successful WSAStartup must occur before using this function."},
        {SocketCall::kReceive, kWsaNotinitialised,
         "A successful WSAStartup must occur before using this function."},
        // Codes a table does not list.
        {SocketCall::kSocket, kWsaEconnrefused, "unknown problems!"},
        {SocketCall::kReceive, kWsaEhostunreach, "unknown problems!"},
        {SocketCall::kConnect, 0, "unknown problems!"},
        {SocketCall::kSend, 12345, "unknown problems!"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(describeSocketError(c.call, c.code), c.text)
            << static_cast<int>(c.call) << " " << c.code;
    }
}

TEST(SocketErrorDescriptions, EveryListedCodeHasItsOwnShortDescription) {
    struct Table {
        SocketCall call;
        std::vector<int> codes;
    };
    const Table tables[] = {
        {SocketCall::kSocket,
         {kWsaNotinitialised, kWsaEnetdown, kWsaEafnosupport, kWsaEinprogress, kWsaEmfile, kWsaEnobufs,
          kWsaEprotonosupport, kWsaEprototype, kWsaEsocktnosupport}},
        {SocketCall::kConnect,
         {kWsaNotinitialised, kWsaEnetdown, kWsaEaddrinuse, kWsaEintr, kWsaEinprogress, kWsaEalready,
          kWsaEaddrnotavail, kWsaEafnosupport, kWsaEconnrefused, kWsaEfault, kWsaEinval, kWsaEisconn,
          kWsaEnetunreach, kWsaEnobufs, kWsaEnotsock, kWsaEtimedout, kWsaEwouldblock, kWsaEacces}},
        {SocketCall::kSend,
         {kWsaNotinitialised, kWsaEnetdown, kWsaEacces, kWsaEintr, kWsaEinprogress, kWsaEfault, kWsaEnetreset,
          kWsaEnobufs, kWsaEnotconn, kWsaEnotsock, kWsaEopnotsupp, kWsaEshutdown, kWsaEwouldblock,
          kWsaEmsgsize, kWsaEhostunreach, kWsaEinval, kWsaEconnaborted, kWsaEconnreset, kWsaEtimedout}},
        {SocketCall::kReceive,
         {kWsaNotinitialised, kWsaEnetdown, kWsaEfault, kWsaEnotconn, kWsaEintr, kWsaEinprogress,
          kWsaEnetreset, kWsaEnotsock, kWsaEopnotsupp, kWsaEshutdown, kWsaEwouldblock, kWsaEmsgsize,
          kWsaEinval, kWsaEconnaborted, kWsaEtimedout, kWsaEconnreset}},
    };
    for (const Table& t : tables) {
        EXPECT_EQ(describedCodeCount(t.call), static_cast<int>(t.codes.size()));
        for (int code : t.codes) {
            std::string text = describeSocketError(t.call, code);
            EXPECT_NE(text, "unknown problems!") << code;
            int lines = 1;
            for (char ch : text) lines += ch == '\n';
            EXPECT_LE(lines, 6) << code;
            EXPECT_NE(text.back(), '\n') << code;
        }
    }
}

struct RecordedDump : DumpByteSink {
    std::vector<uint8_t> bytes;
    void OnDumpByte(uint8_t byte) override { bytes.push_back(byte); }
};

struct RecordedValues : ValueDelivery {
    std::vector<ValueRecord> records;
    void deliver(uint8_t, const ValueRecord& record) override { records.push_back(record); }
};

// A dump sink that stops the dump after a number of bytes, as the tool does between two bytes.
struct StoppingDump : DumpByteSink {
    LinkFlags* flags;
    int left;
    std::vector<uint8_t> bytes;
    void OnDumpByte(uint8_t byte) override {
        bytes.push_back(byte);
        if (--left == 0) flags->dpcomActive = false;
    }
};

class RouteTest : public ::testing::Test {
protected:
    void SetUp() override {
        decoder.delivery = &values;
        path.flags = &flags;
        path.decoder = &decoder;
    }
    LinkFlags flags;
    FrameDecoder decoder;
    RecordedValues values;
    ReceivePath path;
};

// A value frame of a category 15 item, as the simulator sends it.
std::vector<uint8_t> valueFrame(int32_t value) {
    uint8_t buffer[100];
    int length = encodeRequest(ValueRecord{15 * 32 + 1, 0, 0, 0, value}, kWrite, buffer);
    return std::vector<uint8_t>(buffer, buffer + length);
}

TEST_F(RouteTest, BytesReachTheDecoderInOrder) {
    std::vector<uint8_t> stream = valueFrame(7);
    std::vector<uint8_t> second = valueFrame(300);
    stream.insert(stream.end(), second.begin(), second.end());
    // However the stream is cut into reads, the same records come out.
    for (size_t cut : {size_t{1}, size_t{3}, size_t{16}, stream.size()}) {
        values.records.clear();
        for (size_t at = 0; at < stream.size(); at += cut) {
            size_t n = std::min(cut, stream.size() - at);
            routeReceivedBytes(path, stream.data() + at, n);
        }
        ASSERT_EQ(values.records.size(), 2u) << cut;
        EXPECT_EQ(values.records[0].value, 7);
        EXPECT_EQ(values.records[1].value, 300);
    }
}

TEST_F(RouteTest, AReadDuringASwitchIsDroppedAndTheFrameGoesOnAfterIt) {
    std::vector<uint8_t> frame = valueFrame(42);
    ASSERT_GE(frame.size(), 3u);
    routeReceivedBytes(path, frame.data(), 1);
    flags.switchingChildWindow = true;
    routeReceivedBytes(path, frame.data() + 1, frame.size() - 1);
    flags.switchingChildWindow = false;
    EXPECT_TRUE(values.records.empty());
    // The decoder still holds the first byte: the rest of the frame completes it.
    routeReceivedBytes(path, frame.data() + 1, frame.size() - 1);
    ASSERT_EQ(values.records.size(), 1u);
    EXPECT_EQ(values.records[0].value, 42);
}

TEST_F(RouteTest, TheDumpToolTakesEveryByteWhileItReceives) {
    RecordedDump dump;
    path.dumpSink = &dump;
    flags.dpcomActive = true;
    std::vector<uint8_t> frame = valueFrame(5);
    routeReceivedBytes(path, frame.data(), frame.size());
    EXPECT_EQ(dump.bytes, frame);
    EXPECT_TRUE(values.records.empty());

    // Without a sink the bytes are lost, not decoded.
    path.dumpSink = nullptr;
    routeReceivedBytes(path, frame.data(), frame.size());
    EXPECT_TRUE(values.records.empty());
}

TEST_F(RouteTest, TheDumpFlagIsLookedAtForEveryByte) {
    StoppingDump dump;
    dump.flags = &flags;
    dump.left = 2;
    path.dumpSink = &dump;
    flags.dpcomActive = true;
    std::vector<uint8_t> stream = {0x01, 0x02};
    std::vector<uint8_t> frame = valueFrame(9);
    stream.insert(stream.end(), frame.begin(), frame.end());
    routeReceivedBytes(path, stream.data(), stream.size());
    EXPECT_EQ(dump.bytes, (std::vector<uint8_t>{0x01, 0x02}));
    ASSERT_EQ(values.records.size(), 1u);
    EXPECT_EQ(values.records[0].value, 9);
}

}  // namespace
}  // namespace tavir
