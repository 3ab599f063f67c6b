#include "link/tcp_descriptions.h"

#include <cstddef>

namespace tavir {

namespace {

struct Description {
    int code;
    const char* text;
};

constexpr char kUnknown[] = "unknown problems!";
constexpr char kNotInitialised[] = "A successful WSAStartup must occur before using this function.";
constexpr char kNetworkDown[] = "The network subsystem has failed.";
constexpr char kInProgress[] =
    "A blocking Windows Sockets call is in progress,\n"
    "or the service provider is still processing a callback function.";
constexpr char kInterrupted[] = "The blocking call was cancelled before it completed.";
constexpr char kBadAddress[] =
    "An address or buffer handed to the call does not lie\n"
    "in the part of the address space that belongs to the program.";
constexpr char kNoBuffers[] = "No buffer space is available.";
constexpr char kNotSocket[] = "The descriptor is not a socket.";
constexpr char kWouldBlock[] = "The socket is marked as nonblocking and the call would block.";
constexpr char kNotConnected[] = "The socket is not connected.";

constexpr Description kSocketTable[] = {
    {kWsaNotinitialised, "Successful WSAStartup must occur before using this function."},
    {kWsaEnetdown, kNetworkDown},
    {kWsaEafnosupport, "The address family asked for is not supported."},
    {kWsaEinprogress, kInProgress},
    {kWsaEmfile, "No more socket descriptors are available."},
    {kWsaEnobufs, "No buffer space is available. The socket cannot be created."},
    {kWsaEprotonosupport, "The protocol asked for is not supported."},
    {kWsaEprototype, "The protocol asked for is the wrong type for this socket."},
    {kWsaEsocktnosupport, "The socket type asked for is not supported\nin this address family."},
};

constexpr Description kConnectTable[] = {
    {kWsaNotinitialised, kNotInitialised},
    {kWsaEnetdown, kNetworkDown},
    {kWsaEaddrinuse, "The local address of the socket is already in use."},
    {kWsaEintr, kInterrupted},
    {kWsaEinprogress, kInProgress},
    {kWsaEalready, "A connect call is already in progress on this socket."},
    {kWsaEaddrnotavail, "The remote address is not a valid address."},
    {kWsaEafnosupport, "Addresses of this family cannot be used with this socket."},
    {kWsaEconnrefused, "The attempt to connect was forcefully rejected."},
    {kWsaEfault, kBadAddress},
    {kWsaEinval, "The socket is a listening socket."},
    {kWsaEisconn, "The socket is already connected."},
    {kWsaEnetunreach, "The network cannot be reached from this host at this time."},
    {kWsaEnobufs, "No buffer space is available. The socket cannot be connected."},
    {kWsaEnotsock, kNotSocket},
    {kWsaEtimedout, "Attempt to connect timed out without establishing a connection."},
    {kWsaEwouldblock, "The socket is marked as nonblocking\nand the connection cannot be completed at once."},
    {kWsaEacces,
     "A connection to a broadcast address was refused\nbecause the socket does not allow broadcasts."},
};

constexpr Description kSendTable[] = {
    {kWsaNotinitialised, kNotInitialised},
    {kWsaEnetdown, kNetworkDown},
    {kWsaEacces, "The address is a broadcast address\nand the socket does not allow broadcasts."},
    {kWsaEintr, kInterrupted},
    {kWsaEinprogress, kInProgress},
    {kWsaEfault, kBadAddress},
    {kWsaEnetreset,
     "The connection was broken because a keep-alive check\nfound a failure while the call was in progress."},
    {kWsaEnobufs, kNoBuffers},
    {kWsaEnotconn, kNotConnected},
    {kWsaEnotsock, kNotSocket},
    {kWsaEopnotsupp, "The socket does not support this operation\nwith the flags given."},
    {kWsaEshutdown, "The socket has been shut down for sending."},
    {kWsaEwouldblock, kWouldBlock},
    {kWsaEmsgsize, "The message is larger than the transport allows."},
    {kWsaEhostunreach, "The remote host cannot be reached from this host at this time."},
    {kWsaEinval, "The socket has not been bound,\nor an unknown flag was given."},
    {kWsaEconnaborted,
     "The connection was ended by a time-out or another failure.\nThe socket cannot be used any more."},
    {kWsaEconnreset, "The connection was reset by the remote side.\nThe socket cannot be used any more."},
    {kWsaEtimedout,
     "The connection was dropped because of a network failure\nor because the remote side stopped "
     "answering."},
};

constexpr Description kReceiveTable[] = {
    {kWsaNotinitialised, kNotInitialised},
    {kWsaEnetdown, kNetworkDown},
    {kWsaEfault, kBadAddress},
    {kWsaEnotconn, kNotConnected},
    {kWsaEintr, kInterrupted},
    {kWsaEinprogress, kInProgress},
    {kWsaEnetreset,
     "The connection was broken because a keep-alive check\nfound a failure while the call was in progress."},
    {kWsaEnotsock, kNotSocket},
    {kWsaEopnotsupp, "The socket does not support this operation\nwith the flags given."},
    {kWsaEshutdown, "The socket has been shut down for receiving."},
    {kWsaEwouldblock, kWouldBlock},
    {kWsaEmsgsize, "The message was too large for the buffer and was cut."},
    {kWsaEinval, "The socket has not been bound,\nor an unknown flag was given."},
    {kWsaEconnaborted,
     "The connection was ended by a time-out or another failure.\nThe socket cannot be used any more."},
    {kWsaEtimedout,
     "The connection was dropped because of a network failure\nor because the remote side stopped "
     "answering."},
    {kWsaEconnreset, "The connection was reset by the remote side.\nThe socket cannot be used any more."},
};

template <size_t N>
const char* find(const Description (&table)[N], int code) {
    for (const Description& row : table) {
        if (row.code == code) return row.text;
    }
    return kUnknown;
}

}  // namespace

const char* describeSocketError(SocketCall call, int code) {
    switch (call) {
        case SocketCall::kSocket:
            return find(kSocketTable, code);
        case SocketCall::kConnect:
            return find(kConnectTable, code);
        case SocketCall::kSend:
            return find(kSendTable, code);
        case SocketCall::kReceive:
            return find(kReceiveTable, code);
    }
    return kUnknown;
}

}  // namespace tavir
