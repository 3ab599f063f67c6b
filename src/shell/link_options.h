#pragma once
#include <cstdint>

namespace tavir {

constexpr int kIpAddressSize = 20;  // 19 characters and the terminator

// How the debugger reaches the controller, and which batch tool opens at start. Filled once from
// the command line before anything else runs; never read from the settings file.
struct LinkOptions {
    int32_t useSerial = 1;  // 1: COM port, 0: TCP/IP; once 0 nothing sets it back
    int32_t comPort = 1;    // 1 to 4
    int32_t baudRate = 9600;
    // Without -IP the host is a fixed address of the private 192.168.0.0/16 range, so that a
    // debugger started without one never reaches a public host.
    char ipAddress[kIpAddressSize] = "192.168.1.100";
    int32_t ipPort = 7000;

    // The start-tool flags. At most one tool opens: the first set one in this order.
    uint8_t openDpcom = 0;
    uint8_t openAfname = 0;
    uint8_t openParameters = 0;
    uint8_t openVerschillen = 0;
};

}  // namespace tavir
