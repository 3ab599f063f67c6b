#include "cli_reporter.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace tavir::cli {

namespace {
constexpr int kBarWidth = 40;
}

std::string utf8Text(const char* cp1252) {
    std::string out;
    for (const char* p = cp1252; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        // The texts use only Latin-1 letters above 127 (ë, ï); they map to the same code points.
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0xA0) {
            out += '?';
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string terminalText(const char* cp1252) {
#ifdef _WIN32
    return cp1252;
#else
    return utf8Text(cp1252);
#endif
}

bool isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

StderrReporter::StderrReporter() : terminal_(isTerminal(stderr)) {}

void StderrReporter::beginProgress(int total) {
    total_ = total;
    steps_ = 0;
    shownPermille_ = -1;
    draw();
}

void StderrReporter::stepProgress() {
    ++steps_;
    draw();
}

// Redrawn only when the shown fraction changes: a run of thousands of steps writes a few hundred
// short lines at most.
void StderrReporter::draw() {
    if (outlet_) {
        outlet_->progress(steps_, total_);
        return;
    }
    if (!terminal_ || total_ <= 0) return;
    const int permille = steps_ >= total_ ? 1000 : steps_ * 1000 / total_;
    if (permille == shownPermille_) return;
    shownPermille_ = permille;
    const int filled = permille * kBarWidth / 1000;
    std::fprintf(stderr, "\r[%s%s] %d/%d", std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kBarWidth - filled), ' ').c_str(), steps_, total_);
    std::fflush(stderr);
    drawn_ = true;
}

void StderrReporter::finishProgress() {
    if (drawn_) std::fputc('\n', stderr);
    drawn_ = false;
}

void StderrReporter::showMessage(const char* text, const char* caption, ToolIcon) {
    if (outlet_) return;
    if (holding_) {
        held_.emplace_back(caption, text);
        return;
    }
    finishProgress();
    std::fprintf(stderr, "%s: %s\n", terminalText(caption).c_str(), terminalText(text).c_str());
    shownPermille_ = -1;
}

void StderrReporter::releaseMessages() {
    holding_ = false;
    for (const auto& [caption, text] : held_)
        showMessage(text.c_str(), caption.c_str(), ToolIcon::kInformation);
    held_.clear();
}

void StderrReporter::dropMessages() {
    holding_ = false;
    held_.clear();
}

void StderrReporter::say(const std::string& line) {
    if (outlet_) {
        outlet_->line(line);
        return;
    }
    finishProgress();
    std::fprintf(stderr, "tavir-cli: %s\n", line.c_str());
}

}  // namespace tavir::cli
