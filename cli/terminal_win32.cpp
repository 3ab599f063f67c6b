// The Windows 10 console takes the terminal's cursor sequences once it is told to.
#include <io.h>
#include <windows.h>

#include "cli_reporter.h"

namespace tavir::cli {

bool takesCursorSequences(std::FILE* stream) {
    HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode) &&
           SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

}  // namespace tavir::cli
