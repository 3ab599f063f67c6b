#pragma once
// The serial line as the programs without a window open it on POSIX: raw, 8 data bits, no parity,
// one stop bit, no flow control.
#include <termios.h>

namespace tavir {

// The termios speed of a baud rate, or B0 when the system has none for it.
speed_t termiosSpeed(int baudRate);

// Puts the terminal fd into raw mode with the line settings above; a speed of B0 leaves the speed
// as it is (a pseudo-terminal has none). False when the terminal refuses the settings.
bool makeRawLine(int fd, speed_t speed);

}  // namespace tavir
