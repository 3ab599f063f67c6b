#pragma once
// Playing a recorded link back as the controller: the trace that tavir-cli --trace writes holds
// both directions of a session; the chunks the controller sent go out again at their recorded
// times, each never before the client has sent what preceded it in the trace.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "controller_side.h"

namespace tavir::sim {

constexpr char kTraceHeader[] = "# tavir trace 1";

struct TraceChunk {
    int64_t micros = 0;         // since the link was opened
    bool toController = false;  // ">": sent to the controller; "<": received from it
    std::vector<uint8_t> bytes;
    int line = 0;  // in the trace file
};

// Reads a trace: the header line, then "<seconds> <dir> <hex bytes>" per line. Gives false with
// error set to "line N: what is wrong".
bool parseTrace(const std::string& text, std::vector<TraceChunk>& chunks, std::string& error);

// One connection's playback. Time is handed in.
class TracePlayback {
public:
    using Warn = std::function<void(const std::string& line)>;
    TracePlayback(const std::vector<TraceChunk>& chunks, Warn warn);

    // The playback's clock starts here (a TCP connection when accepted, a serial line at its
    // first byte).
    void start(int64_t now);
    bool started() const { return started_; }
    // Checks the bytes against the recorded ones: a difference is a warning, and the playback
    // goes on; each byte counts as the recorded one it stands in for.
    void receive(const uint8_t* bytes, size_t count, int64_t now);
    // Sends every controller chunk that is due.
    void advance(int64_t now, LinkOutput& output);
    // When the next chunk is due; INT64_MAX while it waits for the client, or at the end.
    int64_t nextDeadline() const;
    bool done() const { return next_ >= chunks_.size(); }

private:
    // The moment a controller chunk may leave: its recorded time, and never before its recorded
    // delay after the client's chunk that preceded it has fully arrived.
    int64_t dueOf(size_t chunk) const;

    const std::vector<TraceChunk>& chunks_;
    Warn warn_;
    bool started_ = false;
    int64_t start_ = 0;
    size_t next_ = 0;  // the next chunk to send or pass
    // The client's side: the chunk and the byte in it the next received byte stands for.
    size_t inChunk_ = 0;
    size_t inByte_ = 0;
    size_t warnedChunk_ = SIZE_MAX;
    bool warnedExtra_ = false;
    std::vector<int64_t> completedAt_;   // by chunk: when a client chunk fully arrived, -1 before
    std::vector<size_t> requestBefore_;  // by chunk: the client chunk before it, SIZE_MAX for none
};

// The controller side of tavir-sim --replay: a playback per link.
class TraceReplay : public ControllerSide {
public:
    TraceReplay(std::vector<TraceChunk> chunks, TracePlayback::Warn warn);
    int openSession(LinkOutput& output, const char* linkName, int64_t now) override;
    void closeSession(int id, int64_t now) override;
    void receive(int id, const uint8_t* bytes, size_t count, int64_t now) override;
    void advance(int64_t now) override;
    int64_t nextDeadline() const override;

private:
    struct Session {
        LinkOutput* output;
        std::string link;
        TracePlayback playback;
        bool reportedDone = false;
    };
    std::vector<TraceChunk> chunks_;
    TracePlayback::Warn warn_;
    std::map<int, Session> sessions_;
    int nextId_ = 1;
};

}  // namespace tavir::sim
