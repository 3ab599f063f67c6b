#include "audit_board.h"

#include <algorithm>

namespace tavir::cli {

namespace {
// More running controllers than this are counted on one line: the block stays within a screen.
constexpr int kShownRunning = 20;
constexpr int kBarWidth = 20;
constexpr auto kRedrawEvery = std::chrono::milliseconds(250);
}  // namespace

void AuditBoard::started(size_t controller, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    running_[controller].name = name;
    draw({}, false);
}

void AuditBoard::progress(size_t controller, int steps, int total) {
    std::lock_guard<std::mutex> lock(mutex_);
    Running& run = running_[controller];
    run.steps = steps;
    run.total = total;
    draw({}, false);
}

void AuditBoard::finished(size_t controller, const std::vector<std::string>& lines) {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.erase(controller);
    draw(lines, true);
}

void AuditBoard::end() {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.clear();
    draw({}, true);
}

void AuditBoard::draw(const std::vector<std::string>& lines, bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (!terminal_) {
        for (const std::string& line : lines) std::fprintf(stream_, "%s\n", line.c_str());
        if (!lines.empty()) std::fflush(stream_);
        return;
    }
    if (!force && now - lastDraw_ < kRedrawEvery) return;
    lastDraw_ = now;
    // Back to the first progress line; each line written over the old one, the rest cleared.
    std::string text = drawn_ > 0 ? "\x1b[" + std::to_string(drawn_) + "A\r" : "\r";
    for (const std::string& line : lines) text += "\x1b[2K" + line + "\n";
    drawn_ = 0;
    size_t width = 0;
    for (const auto& [index, run] : running_) width = std::max(width, run.name.size());
    for (const auto& [index, run] : running_) {
        if (drawn_ == kShownRunning) {
            text += "\x1b[2K  ... and " + std::to_string(running_.size() - kShownRunning) + " more running\n";
            ++drawn_;
            break;
        }
        text += "\x1b[2K  " + run.name + std::string(width - run.name.size(), ' ');
        if (run.total > 0) {
            const int filled = std::min(run.steps, run.total) * kBarWidth / run.total;
            text += " [" + std::string(static_cast<size_t>(filled), '#') +
                    std::string(static_cast<size_t>(kBarWidth - filled), ' ') + "] " +
                    std::to_string(run.steps) + "/" + std::to_string(run.total) + "\n";
        } else {
            text += " connecting\n";
        }
        ++drawn_;
    }
    text += "\x1b[J";
    std::fputs(text.c_str(), stream_);
    std::fflush(stream_);
}

}  // namespace tavir::cli
