// The TCP transport against a listening socket of the test's own on 127.0.0.1.
#include "link/tcp_transport_win32.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace tavir {
namespace {

// The controller's side: a listener on a free loopback port and the connection it accepts.
class LoopbackController {
public:
    LoopbackController() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        int length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~LoopbackController() {
        if (connection_ != INVALID_SOCKET) closesocket(connection_);
        closesocket(listener_);
        WSACleanup();
    }
    void accept() { connection_ = ::accept(listener_, nullptr, nullptr); }
    void send(const std::vector<uint8_t>& bytes) {
        ::send(connection_, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0);
    }
    void close() {
        closesocket(connection_);
        connection_ = INVALID_SOCKET;
    }

    int port = 0;

private:
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET connection_ = INVALID_SOCKET;
};

class TcpTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        client.port = controller.port;
        client.Connect("127.0.0.1");
        controller.accept();
    }
    // Waits, with a deadline, until count bytes wait to be received.
    bool available(u_long count) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            u_long waiting = 0;
            ioctlsocket(static_cast<SOCKET>(client.socket), FIONREAD, &waiting);
            if (waiting >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
    LoopbackController controller;
    TcpClient client;
};

// One receive takes what has arrived, in order, up to its buffer.
TEST_F(TcpTransportTest, AReceiveTakesWhatArrivedUpToItsBuffer) {
    std::vector<uint8_t> sent;
    for (int i = 0; i < 300; ++i) sent.push_back(static_cast<uint8_t>(i * 7));
    controller.send(sent);
    ASSERT_TRUE(available(300));
    uint8_t buffer[512];
    ASSERT_EQ(client.ReceiveBytes(buffer, 200), 200);
    ASSERT_EQ(client.ReceiveBytes(buffer + 200, 312), 100);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 300), sent);
}

TEST_F(TcpTransportTest, AnOrderlyCloseGivesNoBytes) {
    controller.close();
    uint8_t buffer[16];
    EXPECT_EQ(client.ReceiveBytes(buffer, sizeof buffer), 0);
}

// A reset cannot be made between two Wine sockets (Wine's closesocket never resets); the
// end-to-end case connection_reset has tavir-sim reset the connection.

// A stream keeps no boundaries between sends, a datagram socket does: with a connected UDP
// socket in the client's place, each send arrives as one datagram, so a frame written in two
// sends would arrive in two.
TEST(TcpTransport, EachFrameGoesOutInOneSend) {
    TcpClient client;
    SOCKET receiver = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(receiver, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    int length = sizeof address;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&address), &length);
    DWORD deadline = 5000;
    setsockopt(receiver, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&deadline), sizeof deadline);
    closesocket(static_cast<SOCKET>(client.socket));
    SOCKET sender = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_EQ(connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    client.socket = sender;

    TcpTransport transport(client);
    const std::vector<std::vector<uint8_t>> frames = {
        {0xBC, 0x49, 0x40, 0x43, 0x45, 0x42, 0x40, 0x40, 0x40, 0x40, 0x40}, {0xE2, 0x65, 0x47}};
    for (const auto& frame : frames) transport.write(frame.data(), frame.size());
    for (const auto& frame : frames) {
        char datagram[64];
        int got = recv(receiver, datagram, sizeof datagram, 0);
        ASSERT_GT(got, 0) << "no datagram within the deadline";
        EXPECT_EQ(std::vector<uint8_t>(datagram, datagram + got), frame);
    }
    closesocket(receiver);
}

}  // namespace
}  // namespace tavir
