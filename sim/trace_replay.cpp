#include "trace_replay.h"

#include <cstdio>
#include <limits>
#include <sstream>

#include "simulator.h"

namespace tavir::sim {

namespace {

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

bool parseChunk(const std::string& line, TraceChunk& chunk) {
    std::istringstream in(line);
    double seconds = -1;
    std::string dir;
    if (!(in >> seconds >> dir) || seconds < 0 || (dir != ">" && dir != "<")) return false;
    chunk.micros = static_cast<int64_t>(seconds * 1e6 + 0.5);
    chunk.toController = dir == ">";
    std::string hex;
    while (in >> hex) {
        unsigned value = 0;
        int used = 0;
        if (hex.size() != 2 || std::sscanf(hex.c_str(), "%2x%n", &value, &used) != 1 || used != 2)
            return false;
        chunk.bytes.push_back(static_cast<uint8_t>(value));
    }
    return !chunk.bytes.empty();
}

}  // namespace

bool parseTrace(const std::string& text, std::vector<TraceChunk>& chunks, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    chunks.clear();
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            if (line != kTraceHeader) {
                error = "line 1: not a trace (the first line is not \"" + std::string(kTraceHeader) + "\")";
                return false;
            }
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        TraceChunk chunk;
        chunk.line = number;
        if (!parseChunk(line, chunk)) {
            error = "line " + std::to_string(number) + ": expected <seconds> <'>' or '<'> <hex bytes>";
            return false;
        }
        chunks.push_back(std::move(chunk));
    }
    if (number == 0) {
        error = "line 1: the trace is empty";
        return false;
    }
    return true;
}

TracePlayback::TracePlayback(const std::vector<TraceChunk>& chunks, Warn warn)
    : chunks_(chunks),
      warn_(std::move(warn)),
      completedAt_(chunks.size(), -1),
      requestBefore_(chunks.size(), SIZE_MAX) {
    size_t last = SIZE_MAX;
    for (size_t i = 0; i < chunks_.size(); ++i) {
        requestBefore_[i] = last;
        if (chunks_[i].toController) last = i;
    }
    while (inChunk_ < chunks_.size() && !chunks_[inChunk_].toController) ++inChunk_;
}

void TracePlayback::start(int64_t now) {
    if (started_) return;
    started_ = true;
    start_ = now;
}

void TracePlayback::receive(const uint8_t* bytes, size_t count, int64_t now) {
    for (size_t i = 0; i < count; ++i) {
        if (inChunk_ >= chunks_.size()) {
            if (!warnedExtra_) warn_("warning: the client sent more than the trace recorded");
            warnedExtra_ = true;
            return;
        }
        const TraceChunk& chunk = chunks_[inChunk_];
        if (bytes[i] != chunk.bytes[inByte_] && warnedChunk_ != inChunk_) {
            char text[128];
            std::snprintf(text, sizeof text, "warning: trace line %d, byte %zu: received %02X, recorded %02X",
                          chunk.line, inByte_ + 1, bytes[i], chunk.bytes[inByte_]);
            warn_(text);
            warnedChunk_ = inChunk_;
        }
        if (++inByte_ == chunk.bytes.size()) {
            completedAt_[inChunk_] = now;
            inByte_ = 0;
            do {
                ++inChunk_;
            } while (inChunk_ < chunks_.size() && !chunks_[inChunk_].toController);
        }
    }
}

int64_t TracePlayback::dueOf(size_t chunk) const {
    int64_t due = start_ + chunks_[chunk].micros;
    size_t request = requestBefore_[chunk];
    if (request == SIZE_MAX) return due;
    if (completedAt_[request] < 0) return kNever;
    int64_t delay = chunks_[chunk].micros - chunks_[request].micros;
    int64_t afterRequest = completedAt_[request] + (delay > 0 ? delay : 0);
    return afterRequest > due ? afterRequest : due;
}

void TracePlayback::advance(int64_t now, LinkOutput& output) {
    if (!started_) return;
    while (next_ < chunks_.size()) {
        const TraceChunk& chunk = chunks_[next_];
        if (!chunk.toController) {
            if (dueOf(next_) > now) return;
            output.send(chunk.bytes.data(), chunk.bytes.size());
        }
        ++next_;
    }
}

int64_t TracePlayback::nextDeadline() const {
    if (!started_) return kNever;
    for (size_t i = next_; i < chunks_.size(); ++i) {
        if (!chunks_[i].toController) return dueOf(i);
    }
    return kNever;
}

TraceReplay::TraceReplay(std::vector<TraceChunk> chunks, TracePlayback::Warn warn)
    : chunks_(std::move(chunks)), warn_(std::move(warn)) {}

int TraceReplay::openSession(LinkOutput& output, const char* linkName, int64_t now) {
    int id = nextId_++;
    std::string link = linkName;
    auto warn = [this, link](const std::string& line) { warn_(link + ": " + line); };
    Session& session =
        sessions_.emplace(id, Session{&output, link, TracePlayback(chunks_, warn)}).first->second;
    // A serial line has no moment of connection: its playback starts with the client's first byte.
    if (link == "tcp") session.playback.start(now);
    warn_(link + ": playing back " + std::to_string(chunks_.size()) + " chunks");
    return id;
}

void TraceReplay::closeSession(int id, int64_t) {
    sessions_.erase(id);
}

void TraceReplay::receive(int id, const uint8_t* bytes, size_t count, int64_t now) {
    auto found = sessions_.find(id);
    if (found == sessions_.end()) return;
    found->second.playback.start(now);
    found->second.playback.receive(bytes, count, now);
    advance(now);
}

void TraceReplay::advance(int64_t now) {
    for (auto& [id, session] : sessions_) {
        session.playback.advance(now, *session.output);
        if (session.playback.done() && !session.reportedDone) {
            session.reportedDone = true;
            warn_(session.link + ": the trace has been played back");
        }
    }
}

int64_t TraceReplay::nextDeadline() const {
    int64_t next = kNever;
    for (const auto& [id, session] : sessions_) {
        int64_t due = session.playback.nextDeadline();
        if (due < next) next = due;
    }
    return next;
}

}  // namespace tavir::sim
