#pragma once
// A raw record of both directions of a link, for reproducing a session later. The file is text:
// the line "# tavir trace 1", then one line per chunk: seconds since the link opened with six
// decimals, ">" for bytes sent to the controller or "<" for bytes received from it, and the bytes
// as two upper-case hex digits each, separated by blanks ("0.104233 > BC 44 40 40 40 68"), LF line
// ends. Chunks are what one write or one read handled, each line flushed at once so a killed
// program leaves every line it finished.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>

namespace tavir {

class LinkTrace {
public:
    LinkTrace() = default;
    ~LinkTrace();
    LinkTrace(const LinkTrace&) = delete;
    LinkTrace& operator=(const LinkTrace&) = delete;

    // Creates the file and writes its first line; the times count from here. False when it
    // cannot be created.
    bool open(const char* path);
    bool isOpen() const { return file_ != nullptr; }

    // Both may be called from different threads (the sender and the reader).
    void sent(const uint8_t* bytes, size_t count) { record('>', bytes, count); }
    void received(const uint8_t* bytes, size_t count) { record('<', bytes, count); }

private:
    void record(char direction, const uint8_t* bytes, size_t count);

    std::mutex mutex_;
    std::FILE* file_ = nullptr;
    std::chrono::steady_clock::time_point opened_;
};

}  // namespace tavir
