#include "link/serial_settings.h"

#include <cstdio>

namespace tavir {

SerialSettings defaultSerialSettings(int comPort, int32_t baudRate) {
    SerialSettings settings{};
    int port = comPort >= 1 && comPort <= 4 ? comPort : 1;
    std::snprintf(settings.portName, sizeof settings.portName, "COM%d", port);
    settings.baudRate = baudRate;
    settings.byteSize = 8;
    settings.parity = 0;
    settings.stopBits = 0;
    settings.dtrControl = 1;
    settings.rtsControl = 1;
    settings.xonChar = 0x11;
    settings.xoffChar = 0x13;
    settings.xonLimit = 0;
    settings.xoffLimit = 0;
    settings.flagChar = 0x0A;
    settings.eventMask = 0x1F8;
    // A read returns once the line has been quiet for 1 ms after a byte, or after 10 ms per byte
    // asked for; a write may take 10 ms per byte.
    settings.timeouts = {1, 10, 0, 10, 0};
    return settings;
}

char eventCharacter(const SerialSettings& settings) {
    return (settings.eventMask & kEventRxFlag) != 0 ? settings.flagChar : '\0';
}

}  // namespace tavir
