#pragma once

namespace tavir {

// The socket calls whose failures are explained to the user.
enum class SocketCall { kSocket, kConnect, kSend, kReceive };

// The Windows Sockets error codes the descriptions know (the platform's values).
enum SocketError : int {
    kWsaEintr = 10004,
    kWsaEacces = 10013,
    kWsaEfault = 10014,
    kWsaEinval = 10022,
    kWsaEmfile = 10024,
    kWsaEwouldblock = 10035,
    kWsaEinprogress = 10036,
    kWsaEalready = 10037,
    kWsaEnotsock = 10038,
    kWsaEmsgsize = 10040,
    kWsaEprototype = 10041,
    kWsaEprotonosupport = 10043,
    kWsaEsocktnosupport = 10044,
    kWsaEopnotsupp = 10045,
    kWsaEafnosupport = 10047,
    kWsaEaddrinuse = 10048,
    kWsaEaddrnotavail = 10049,
    kWsaEnetdown = 10050,
    kWsaEnetunreach = 10051,
    kWsaEnetreset = 10052,
    kWsaEconnaborted = 10053,
    kWsaEconnreset = 10054,
    kWsaEnobufs = 10055,
    kWsaEisconn = 10056,
    kWsaEnotconn = 10057,
    kWsaEshutdown = 10058,
    kWsaEtimedout = 10060,
    kWsaEconnrefused = 10061,
    kWsaEhostunreach = 10065,
    kWsaNotinitialised = 10093,
};

// What error code means for that call, one to six lines; "unknown problems!" for a code the
// call's table does not list.
const char* describeSocketError(SocketCall call, int code);

}  // namespace tavir
