#include <curses.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>

#include "cli_reporter.h"
#include "watch_screen.h"

namespace tavir::cli {

int runWatchScreen(WatchView& view, const std::string& title, const WatchPoll& poll) {
    if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
        std::fprintf(stderr, "tavir-cli: watch needs a terminal\n");
        return 2;
    }
    // The window's texts are CP1252; the terminal shows them in its own character set.
    std::setlocale(LC_ALL, "");
    initscr();
    cbreak();
    noecho();
    curs_set(0);
    timeout(100);  // getch waits at most this long, which paces the polls
    int code = 0;
    for (;;) {
        if (!poll(view)) {
            code = 3;
            break;
        }
        erase();
        mvaddnstr(0, 0, terminalText(title.c_str()).c_str(), COLS);
        int row = 2;
        for (const std::string& line : view.lines()) {
            if (row >= LINES - 1) break;
            mvaddnstr(row++, 0, terminalText(line.c_str()).c_str(), COLS);
        }
        mvaddnstr(LINES - 1, 0, "q: quit", COLS);
        refresh();
        int key = getch();
        if (key == 'q' || key == 'Q') break;
    }
    endwin();
    return code;
}

}  // namespace tavir::cli
