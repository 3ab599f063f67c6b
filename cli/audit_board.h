#pragma once
// What an audit shows while it runs, on standard error: a line for each controller as it ends,
// and on a terminal a progress line for each controller running, redrawn in place a few times a
// second. The workers of the audit call it from their threads.
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace tavir::cli {

class AuditBoard {
public:
    // terminal: the progress lines are drawn (with the terminal's cursor sequences).
    AuditBoard(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}
    void started(size_t controller, const std::string& name);
    void progress(size_t controller, int steps, int total);
    // The controller's lines, each shown once, above the progress lines.
    void finished(size_t controller, const std::vector<std::string>& lines);
    // Clears the progress lines.
    void end();

private:
    struct Running {
        std::string name;
        int steps = 0;
        int total = 0;
    };
    // With the mutex held: the lines, then the progress lines again (when due, or force).
    void draw(const std::vector<std::string>& lines, bool force);

    std::FILE* stream_;
    bool terminal_;
    std::mutex mutex_;
    std::map<size_t, Running> running_;
    int drawn_ = 0;  // progress lines on the screen, the cursor below them
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace tavir::cli
