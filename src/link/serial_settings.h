#pragma once
#include <cstdint>

namespace tavir {

// Read and write time-outs of the port, in milliseconds (the platform's COMMTIMEOUTS).
struct SerialTimeouts {
    uint32_t readIntervalTimeout;
    uint32_t readTotalTimeoutMultiplier;
    uint32_t readTotalTimeoutConstant;
    uint32_t writeTotalTimeoutMultiplier;
    uint32_t writeTotalTimeoutConstant;
};

// How the COM port is set up: 8 data bits, no parity, one stop bit, DTR and RTS on, no flow
// control. One record for the program, filled when the debugger window opens a serial link.
struct SerialSettings {
    char portName[8];
    int32_t baudRate;
    uint8_t byteSize;
    uint8_t parity;
    uint8_t stopBits;
    uint8_t dtrControl;
    uint8_t rtsControl;
    uint8_t ctsOutFlow;
    uint8_t dsrOutFlow;
    uint8_t dsrSensitivity;
    uint8_t xonXoffOut;
    uint8_t xonXoffIn;
    uint8_t txContinueOnXoff;
    char xonChar;
    char xoffChar;
    uint16_t xonLimit;
    uint16_t xoffLimit;
    char flagChar;
    uint32_t eventMask;
    SerialTimeouts timeouts;
    SerialTimeouts savedTimeouts;
};

constexpr uint32_t kEventRxFlag = 0x0002;  // EV_RXFLAG: only then the flag character is used

// The defaults for port comPort (1..4; any other number gives COM1) at baudRate.
SerialSettings defaultSerialSettings(int comPort, int32_t baudRate);

// The event character the port gets: flagChar when the event mask asks for it, else 0.
char eventCharacter(const SerialSettings& settings);

}  // namespace tavir
