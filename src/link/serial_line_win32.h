#pragma once
// The serial line as the programs without a window open it on Windows: 8 data bits, no parity,
// one stop bit, no flow control, DTR and RTS on.
#include <windows.h>

#include <string>

namespace tavir {

// Opens device (COM1, or a name already in the device namespace) at baudRate. Gives
// INVALID_HANDLE_VALUE when it cannot be opened (GetLastError says why); configured tells whether
// the port took the line settings.
HANDLE openSerialLine(const std::string& device, int baudRate, bool& configured);

}  // namespace tavir
