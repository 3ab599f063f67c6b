// The TCP transport's writes, against a datagram socket of the test's own on 127.0.0.1. Receiving,
// an orderly close and a reset are the end-to-end cases' (values streaming, tavir-sim closing and
// resetting its link).
#include "link/tcp_transport_win32.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <vector>

namespace tavir {
namespace {

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
    closesocket(static_cast<SOCKET>(client.endpoint.socket));
    SOCKET sender = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_EQ(connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    client.endpoint.socket = static_cast<intptr_t>(sender);

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
