#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "controller_memory.h"
#include "controller_side.h"
#include "dump_stream.h"
#include "fixed_time_plan.h"
#include "link/frame_decoder.h"
#include "link/value_sinks.h"
#include "request_log.h"
#include "sim_random.h"
#include "value_frames.h"

namespace tavir::sim {

// The way down a link to the connected debugger. The platform layer buffers what it is given
// and writes it out; end() asks it to finish the connection, after which it calls
// Simulator::closeSession.
class LinkOutput {
public:
    virtual ~LinkOutput() = default;
    virtual void send(const uint8_t* bytes, size_t count) = 0;
    virtual void end(bool reset) = 0;
};

// Failures on purpose, each for one failure path of the debugger.
struct FaultOptions {
    bool silent = false;   // never answer
    double drop = 0.0;     // fraction of value frames not sent
    int delayMs = 0;       // every answer leaves this much later
    double garbage = 0.0;  // fraction of value frames preceded by bytes that are no frame
    int resetAfter = -1;   // end the connection by reset after this many value frames
    int closeAfter = -1;   // end it by an orderly close after this many value frames
};

struct SimSettings {
    double refreshHz = 1.0;         // monitored values are sent again this often; 0 = only on change
    uint64_t seed = 1;              // traffic and faults
    int64_t clockStartSeconds = 0;  // the controller's local time at start, seconds since 1970
    FaultOptions faults;
};

// The simulated controller: its memory, its plan and the controller's side of the protocol on
// every open link. Time is handed in by the caller (microseconds from the start), so that the
// tests drive it with a clock of their own and never sleep. Not thread-safe: the platform layer
// calls it from one thread.
class Simulator : public ControllerSide {
public:
    static constexpr int64_t kStepMicros = 100000;  // the plan's step: a tenth of a second
    static constexpr size_t kMaxMonitors = 4096;    // per link

    explicit Simulator(const SimSettings& settings, LogWriter* logWriter = nullptr);
    ~Simulator() override;
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Takes the application's objects for the plan; the memory is seeded beforehand.
    void loadApplication(const SimApplication& application);
    ControllerMemory& memory() { return memory_; }
    const FixedTimePlan& plan() const { return plan_; }
    const SimSettings& settings() const { return settings_; }

    // A link's connection; the id is given to receive and closeSession.
    int openSession(LinkOutput& output, const char* linkName, int64_t now) override;
    void closeSession(int id, int64_t now) override;
    bool sessionEnded(int id) const;
    int openSessionCount() const;

    void receive(int id, const uint8_t* bytes, size_t count, int64_t now) override;

    // Runs the plan, the refresh, the dump streams and the delayed answers up to now.
    void advance(int64_t now) override;
    // When advance has work next.
    int64_t nextDeadline() const override;

    // The control commands.
    int32_t get(const SimAddress& address) const { return memory_.load(address); }
    bool set(const SimAddress& address, int32_t value, int64_t now);
    // A held address keeps its value: the controller takes the Writes to it without storing them,
    // as a protected parameter does. A set releases it.
    bool hold(const SimAddress& address, int32_t value, int64_t now);
    int sendRaw(const uint8_t* bytes, size_t count, int64_t now);  // links reached
    int endLinks(bool reset, int64_t now);  // ends every open link by reset or close; links ended
    void pause() { paused_ = true; }
    void resume(int64_t now);
    bool paused() const { return paused_; }

    // The controller's local time now, seconds since 1970.
    int64_t localSeconds() const;

private:
    struct Monitor {
        SimAddress address;
        int32_t lastSent = 0;
    };
    enum class OutKind { kValue, kGarbage, kDump };
    struct Pending {
        int64_t due = 0;
        OutKind kind = OutKind::kValue;
        SimAddress address;
        int32_t value = 0;
        std::vector<uint8_t> bytes;
    };
    struct Session : ValueDelivery {
        Simulator* simulator = nullptr;
        int id = 0;
        LinkOutput* output = nullptr;
        std::string link;
        bool ended = false;
        FrameDecoder decoder;
        std::map<uint32_t, Monitor> monitors;
        std::deque<Pending> delayed;
        int valueFramesSent = 0;
        DumpStream dump;
        void deliver(uint8_t kind, const ValueRecord& record) override;
    };

    Session* session(int id) const;
    void handleRequest(Session& session, const ClientRequest& request);
    void handleDumpCommand(Session& session, uint8_t command);
    void answerValue(Session& session, const SimAddress& address, int32_t value);
    void sendBytes(Session& session, OutKind kind, const uint8_t* bytes, size_t count);
    void queue(Session& session, Pending&& pending);
    void transmit(Session& session, OutKind kind, const SimAddress& address, int32_t value,
                  const uint8_t* bytes, size_t count);
    void endSession(Session& session, bool reset);
    void sendChangedValues(bool everything);
    void streamDumps();
    void releaseDelayed();

    SimSettings settings_;
    RequestLog log_;
    ControllerMemory memory_;
    std::set<uint32_t> held_;  // address keys whose Writes are not stored
    FixedTimePlan plan_;
    SimRandom faultRandom_;
    std::vector<std::unique_ptr<Session>> sessions_;
    bool paused_ = false;
    int64_t now_ = 0;
    int64_t nextStep_ = kStepMicros;
    int64_t nextRefresh_ = 0;
    int64_t refreshMicros_ = 0;
};

}  // namespace tavir::sim
