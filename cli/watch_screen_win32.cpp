// The Windows console has no curses here: the view is written again from the top of the
// console with the terminal sequences the Windows 10 console understands.
#include <conio.h>
#include <windows.h>

#include <cstdio>

#include "watch_screen.h"

namespace tavir::cli {

int runWatchScreen(WatchView& view, const std::string& title, const WatchPoll& poll) {
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode) ||
        !SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
        std::fprintf(stderr, "tavir-cli: watch needs a console\n");
        return 2;
    }
    std::printf("\x1b[2J");
    int code = 0;
    for (;;) {
        if (!poll(view)) {
            code = 3;
            break;
        }
        std::printf("\x1b[H%s\x1b[K\n\x1b[K\n", title.c_str());
        for (const std::string& line : view.lines()) std::printf("%s\x1b[K\n", line.c_str());
        std::printf("\x1b[Kq: quit\x1b[J");
        std::fflush(stdout);
        Sleep(100);
        if (_kbhit()) {
            int key = _getch();
            if (key == 'q' || key == 'Q') break;
        }
    }
    std::printf("\n");
    SetConsoleMode(console, mode);
    return code;
}

}  // namespace tavir::cli
