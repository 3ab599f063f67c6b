#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "sim_address.h"

namespace tavir::sim {

// Where the finished log lines go: a file, or a vector in the tests.
class LogWriter {
public:
    virtual ~LogWriter() = default;
    virtual void writeLine(const std::string& line) = 0;
};

// Appends each line to a file and flushes it, so that a test can read the log while the
// simulator runs.
class FileLogWriter : public LogWriter {
public:
    FileLogWriter() = default;
    FileLogWriter(const FileLogWriter&) = delete;
    FileLogWriter& operator=(const FileLogWriter&) = delete;
    ~FileLogWriter() override;
    bool open(const char* path);  // truncates; false when it cannot be created
    void writeLine(const std::string& line) override;

private:
    std::FILE* file_ = nullptr;
};

// The request log: JSON Lines, one object per frame received and per frame sent, each with the
// monotonic time in microseconds since the start ("timeUs"), the direction ("in", "out" or
// "event"), the link ("tcp", "pty", "serial"), the kind name, the address and value, and the raw
// bytes in hex. Without a writer nothing is built.
class RequestLog {
public:
    explicit RequestLog(LogWriter* writer = nullptr) : writer_(writer) {}
    bool enabled() const { return writer_ != nullptr; }

    // A frame; dropped marks a reply that the drop fault kept back.
    void frame(int64_t timeUs, const char* direction, const char* link, const char* kind,
               const SimAddress& address, int32_t value, const uint8_t* bytes, size_t count,
               bool dropped = false);
    // Bytes that are not a frame: garbage, dump data, raw bytes sent on command.
    void bytes(int64_t timeUs, const char* direction, const char* link, const char* kind, const uint8_t* data,
               size_t count);
    // A dump command byte received.
    void dumpCommand(int64_t timeUs, const char* link, uint8_t command);
    // A connection event: connect, disconnect, reset, close.
    void event(int64_t timeUs, const char* link, const char* what);

private:
    LogWriter* writer_;
};

// Lower-case hex of the bytes, two digits each, no separators.
std::string hexBytes(const uint8_t* data, size_t count);

}  // namespace tavir::sim
