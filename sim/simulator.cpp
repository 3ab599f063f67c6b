#include "simulator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "calendar.h"
#include "function_codes.h"
#include "link/request_encoder.h"
#include "sim_texts.h"

namespace tavir::sim {

namespace {

constexpr uint64_t kFaultStream = 0x5EEDFA017ull;  // keeps the faults off the traffic's sequence
constexpr uint8_t kDumpEnd[] = {0xFF, 0x0A};

}  // namespace

void Simulator::Session::deliver(uint8_t kind, const ValueRecord& record) {
    ClientRequest request = requestFromFrame(kind, record, decoder.buffer);
    simulator->log_.frame(simulator->now_, "in", link.c_str(), requestKindName(kind), request.address,
                          request.value, decoder.buffer, static_cast<size_t>(frameLength(decoder.buffer)));
    simulator->handleRequest(*this, request);
}

Simulator::Simulator(const SimSettings& settings, LogWriter* logWriter)
    : settings_(settings), log_(logWriter), faultRandom_(settings.seed ^ kFaultStream) {
    if (settings_.refreshHz > 0.0) {
        double micros = 1e6 / settings_.refreshHz;
        refreshMicros_ = micros < 1000.0 ? 1000 : static_cast<int64_t>(micros);
        nextRefresh_ = refreshMicros_;
    }
}

Simulator::~Simulator() = default;

void Simulator::loadApplication(const SimApplication& application) {
    plan_.configure(application, settings_.seed);
    plan_.publish(memory_, localSeconds());
}

int64_t Simulator::localSeconds() const {
    return settings_.clockStartSeconds + plan_.elapsedTenths() / 10;
}

Simulator::Session* Simulator::session(int id) const {
    if (id < 0 || id >= static_cast<int>(sessions_.size())) return nullptr;
    return sessions_[id].get();
}

int Simulator::openSession(LinkOutput& output, const char* linkName, int64_t now) {
    now_ = std::max(now_, now);
    auto created = std::make_unique<Session>();
    created->simulator = this;
    created->output = &output;
    created->link = linkName;
    created->decoder.delivery = created.get();
    int id = static_cast<int>(sessions_.size());
    for (int i = 0; i < id; ++i) {
        if (!sessions_[i]) {
            id = i;
            break;
        }
    }
    created->id = id;
    if (id == static_cast<int>(sessions_.size())) {
        sessions_.push_back(std::move(created));
    } else {
        sessions_[id] = std::move(created);
    }
    Session& s = *sessions_[id];
    log_.event(now_, s.link.c_str(), "connect");
    const FaultOptions& f = settings_.faults;
    if (f.resetAfter == 0 || f.closeAfter == 0) endSession(s, f.resetAfter == 0);
    return id;
}

void Simulator::closeSession(int id, int64_t now) {
    Session* s = session(id);
    if (!s) return;
    now_ = std::max(now_, now);
    log_.event(now_, s->link.c_str(), "disconnect");
    sessions_[id].reset();
}

bool Simulator::sessionEnded(int id) const {
    Session* s = session(id);
    return !s || s->ended;
}

int Simulator::openSessionCount() const {
    return static_cast<int>(
        std::count_if(sessions_.begin(), sessions_.end(), [](const auto& s) { return s != nullptr; }));
}

void Simulator::receive(int id, const uint8_t* bytes, size_t count, int64_t now) {
    Session* s = session(id);
    if (!s) return;
    now_ = std::max(now_, now);
    for (size_t i = 0; i < count && !s->ended; ++i) {
        // A dump command is a single byte between frames; inside a frame the same byte is data.
        if (s->decoder.state == 0 && isDumpCommand(bytes[i])) {
            handleDumpCommand(*s, bytes[i]);
        } else {
            s->decoder.FeedByte(bytes[i]);
        }
    }
}

void Simulator::handleRequest(Session& s, const ClientRequest& request) {
    uint32_t key = addressKey(request.address);
    switch (request.kind) {
        case kRead:
            answerValue(s, request.address, memory_.load(request.address));
            break;
        case kMonitor: {
            int32_t value = memory_.load(request.address);
            answerValue(s, request.address, value);
            if (s.monitors.size() < kMaxMonitors || s.monitors.count(key)) {
                s.monitors[key] = Monitor{request.address, value};
            }
            break;
        }
        case kStop:
            s.monitors.erase(key);
            break;
        default: {  // Write
            if (held_.count(key) == 0) memory_.store(request.address, request.value);
            // The controller echoes a Write only when the address is monitored.
            auto found = s.monitors.find(key);
            if (found != s.monitors.end()) {
                int32_t value = memory_.load(request.address);
                found->second.lastSent = value;
                answerValue(s, request.address, value);
            }
            break;
        }
    }
}

void Simulator::handleDumpCommand(Session& s, uint8_t command) {
    log_.dumpCommand(now_, s.link.c_str(), command);
    if (settings_.faults.silent || paused_) return;
    DumpStream& dump = s.dump;
    auto sendText = [&](const char* text) {
        sendBytes(s, OutKind::kDump, reinterpret_cast<const uint8_t*>(text), std::strlen(text));
    };
    switch (command) {
        case 'V':
            sendText(text::kVerifyReply);
            break;
        case 'M': {
            CalendarTime t = calendarFromSeconds(localSeconds());
            dump.prepared = buildDumpText(memory_, datumValue(t), tijdValue(t));
            dump.hasDump = true;
            char line[64];
            std::snprintf(line, sizeof line, text::kDumpMadeReply, static_cast<int>(memory_.size()));
            sendText(line);
            break;
        }
        case 'O':
            if (!dump.hasDump) {
                sendText(text::kNoDumpReply);
                sendBytes(s, OutKind::kDump, kDumpEnd, sizeof kDumpEnd);
                break;
            }
            dump.streaming = dump.prepared;
            dump.streaming.append(reinterpret_cast<const char*>(kDumpEnd), sizeof kDumpEnd);
            dump.position = 0;
            dump.active = true;
            dump.nextChunk = now_;
            break;
        default:  // 'A'
            if (dump.active) {
                dump.active = false;
                sendText(text::kDumpAbortedReply);
                sendBytes(s, OutKind::kDump, kDumpEnd, sizeof kDumpEnd);
            } else {
                sendText(text::kNotFetchingReply);
            }
            break;
    }
}

void Simulator::answerValue(Session& s, const SimAddress& address, int32_t value) {
    const FaultOptions& f = settings_.faults;
    if (s.ended || f.silent || paused_) return;
    uint8_t frame[kRequestBufferSize];
    int length = encodeValueFrame(address, value, frame);
    if (faultRandom_.chance(f.drop)) {
        log_.frame(now_, "out", s.link.c_str(), "Value", normalizeAddress(address), wireValue(address, value),
                   frame, static_cast<size_t>(length), true);
        return;
    }
    if (faultRandom_.chance(f.garbage)) {
        // Bytes that leave the debugger's decoder idle again: bytes without bit 7, or a header
        // with at most one body byte, closed by a byte without bit 6 that abandons it.
        uint8_t junk[6];
        size_t count = 0;
        if (faultRandom_.chance(0.5)) {
            int n = faultRandom_.range(1, 4);
            for (int i = 0; i < n; ++i) junk[count++] = static_cast<uint8_t>(faultRandom_.range(0x00, 0x7F));
        } else {
            junk[count++] = static_cast<uint8_t>(faultRandom_.range(0x80, 0xFF));
            if (faultRandom_.chance(0.5))
                junk[count++] = static_cast<uint8_t>(faultRandom_.range(0x40, 0x7F));
            junk[count++] = static_cast<uint8_t>(faultRandom_.range(0x00, 0x3F));
        }
        Pending garbage;
        garbage.kind = OutKind::kGarbage;
        garbage.bytes.assign(junk, junk + count);
        queue(s, std::move(garbage));
        if (s.ended) return;
    }
    SimAddress normalized = normalizeAddress(address);
    if (f.delayMs > 0) {
        Pending reply;
        reply.kind = OutKind::kValue;
        reply.address = normalized;
        reply.value = value;
        reply.bytes.assign(frame, frame + length);
        queue(s, std::move(reply));
        return;
    }
    // Sent at once, from the stack buffer.
    transmit(s, OutKind::kValue, normalized, value, frame, static_cast<size_t>(length));
}

void Simulator::sendBytes(Session& s, OutKind kind, const uint8_t* bytes, size_t count) {
    Pending pending;
    pending.kind = kind;
    pending.bytes.assign(bytes, bytes + count);
    queue(s, std::move(pending));
}

void Simulator::queue(Session& s, Pending&& pending) {
    if (s.ended) return;
    if (settings_.faults.delayMs > 0) {
        pending.due = now_ + static_cast<int64_t>(settings_.faults.delayMs) * 1000;
        s.delayed.push_back(std::move(pending));
        return;
    }
    transmit(s, pending.kind, pending.address, pending.value, pending.bytes.data(), pending.bytes.size());
}

void Simulator::transmit(Session& s, OutKind kind, const SimAddress& address, int32_t value,
                         const uint8_t* bytes, size_t count) {
    if (s.ended) return;
    s.output->send(bytes, count);
    if (kind != OutKind::kValue) {
        log_.bytes(now_, "out", s.link.c_str(), kind == OutKind::kGarbage ? "garbage" : "dump", bytes, count);
        return;
    }
    log_.frame(now_, "out", s.link.c_str(), "Value", address, wireValue(address, value), bytes, count);
    ++s.valueFramesSent;
    const FaultOptions& f = settings_.faults;
    if (f.resetAfter > 0 && s.valueFramesSent >= f.resetAfter) {
        endSession(s, true);
    } else if (f.closeAfter > 0 && s.valueFramesSent >= f.closeAfter) {
        endSession(s, false);
    }
}

void Simulator::endSession(Session& s, bool reset) {
    if (s.ended) return;
    s.ended = true;
    s.delayed.clear();
    s.dump.active = false;
    log_.event(now_, s.link.c_str(), reset ? "reset" : "close");
    s.output->end(reset);
}

void Simulator::sendChangedValues(bool everything) {
    if (paused_) return;
    for (auto& owned : sessions_) {
        Session* s = owned.get();
        // A running dump stream has the link to itself; the values catch up afterwards.
        if (!s || s->ended || s->dump.active) continue;
        for (auto& [key, monitor] : s->monitors) {
            int32_t value = memory_.load(monitor.address);
            if (!everything && value == monitor.lastSent) continue;
            monitor.lastSent = value;
            answerValue(*s, monitor.address, value);
            if (s->ended) break;
        }
    }
}

void Simulator::streamDumps() {
    if (paused_) return;
    for (auto& owned : sessions_) {
        Session* s = owned.get();
        if (!s || s->ended) continue;
        DumpStream& dump = s->dump;
        while (dump.active && dump.nextChunk <= now_) {
            size_t count = std::min(DumpStream::kChunkBytes, dump.streaming.size() - dump.position);
            sendBytes(*s, OutKind::kDump,
                      reinterpret_cast<const uint8_t*>(dump.streaming.data()) + dump.position, count);
            dump.position += count;
            dump.nextChunk += DumpStream::kChunkMicros;
            if (dump.position >= dump.streaming.size()) dump.active = false;
        }
    }
}

void Simulator::releaseDelayed() {
    for (auto& owned : sessions_) {
        Session* s = owned.get();
        while (s && !s->ended && !s->delayed.empty() && s->delayed.front().due <= now_) {
            Pending pending = std::move(s->delayed.front());
            s->delayed.pop_front();
            transmit(*s, pending.kind, pending.address, pending.value, pending.bytes.data(),
                     pending.bytes.size());
        }
    }
}

void Simulator::advance(int64_t now) {
    now_ = std::max(now_, now);
    bool stepped = false;
    while (nextStep_ <= now_) {
        // The counters show the moment after this step.
        plan_.step(memory_, settings_.clockStartSeconds + (plan_.elapsedTenths() + 1) / 10);
        nextStep_ += kStepMicros;
        stepped = true;
    }
    if (stepped) sendChangedValues(false);
    if (refreshMicros_ > 0 && nextRefresh_ <= now_) {
        sendChangedValues(true);
        nextRefresh_ += refreshMicros_;
        if (nextRefresh_ <= now_) nextRefresh_ = now_ + refreshMicros_;
    }
    streamDumps();
    releaseDelayed();
}

int64_t Simulator::nextDeadline() const {
    int64_t next = nextStep_;
    if (refreshMicros_ > 0) next = std::min(next, nextRefresh_);
    for (const auto& owned : sessions_) {
        const Session* s = owned.get();
        if (!s || s->ended) continue;
        if (!s->delayed.empty()) next = std::min(next, s->delayed.front().due);
        if (s->dump.active && !paused_) next = std::min(next, s->dump.nextChunk);
    }
    return next;
}

bool Simulator::hold(const SimAddress& address, int32_t value, int64_t now) {
    if (!set(address, value, now)) return false;
    held_.insert(addressKey(address));
    return true;
}

bool Simulator::set(const SimAddress& address, int32_t value, int64_t now) {
    now_ = std::max(now_, now);
    held_.erase(addressKey(address));
    if (!memory_.store(address, value)) return false;
    uint32_t key = addressKey(address);
    for (auto& owned : sessions_) {
        Session* s = owned.get();
        if (!s || s->ended || paused_) continue;
        auto found = s->monitors.find(key);
        if (found == s->monitors.end()) continue;
        found->second.lastSent = memory_.load(address);
        answerValue(*s, address, found->second.lastSent);
    }
    return true;
}

int Simulator::sendRaw(const uint8_t* bytes, size_t count, int64_t now) {
    now_ = std::max(now_, now);
    int reached = 0;
    for (auto& owned : sessions_) {
        Session* s = owned.get();
        if (!s || s->ended) continue;
        s->output->send(bytes, count);
        log_.bytes(now_, "out", s->link.c_str(), "raw", bytes, count);
        ++reached;
    }
    return reached;
}

int Simulator::endLinks(bool reset, int64_t now) {
    now_ = std::max(now_, now);
    int ended = 0;
    for (auto& owned : sessions_) {
        if (!owned || owned->ended) continue;
        endSession(*owned, reset);
        ++ended;
    }
    return ended;
}

void Simulator::resume(int64_t now) {
    now_ = std::max(now_, now);
    if (!paused_) return;
    paused_ = false;
    for (auto& owned : sessions_) {
        if (owned && owned->dump.active) owned->dump.nextChunk = now_;
    }
    sendChangedValues(true);
}

}  // namespace tavir::sim
