#pragma once
// Fakes of the batch tools' seams: a clock whose waits advance it, a controller on the far side
// of the transport that decodes each request, keeps written values and answers Reads, and a
// reporter that keeps the progress and the messages.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../definitions/definitions_support.h"
#include "base/message_log.h"
#include "definitions/load_application.h"
#include "definitions/macro_table.h"
#include "link/frame_decoder.h"
#include "link/transport.h"
#include "tools/batch_values.h"
#include "tools/clock.h"
#include "tools/pacing.h"
#include "tools/parameter_field.h"
#include "tools/tool_context.h"

namespace tavir::testing {

struct FakeClock : Clock, PaceWaiter {
    uint32_t ms = 0;
    uint32_t longestWait = 0;  // 0: a wait lasts as long as asked; else at most this long
    int waits = 0;
    uint32_t now() override { return ms; }
    void waitUpTo(uint32_t milliseconds) override {
        ++waits;
        ms += longestWait != 0 && milliseconds > longestWait ? longestWait : milliseconds;
    }
};

struct SentRequest {
    uint8_t kind;
    ValueRecord record;
    uint32_t at;
};

using Address = std::tuple<int32_t, int32_t, int32_t>;

struct FakeController : Transport, ValueDelivery {
    FakeClock& clock;
    BatchValueSink* replies = nullptr;  // none: Reads go unanswered
    FrameDecoder decoder;
    std::map<Address, int32_t> memory;  // an address never written reads 0
    std::vector<SentRequest> requests;
    std::vector<std::vector<uint8_t>> frames;  // each write as it came

    explicit FakeController(FakeClock& c) : clock(c) { decoder.delivery = this; }

    void write(const uint8_t* bytes, size_t count) override {
        frames.emplace_back(bytes, bytes + count);
        for (size_t i = 0; i < count; ++i) decoder.FeedByte(bytes[i]);
    }
    void deliver(uint8_t kind, const ValueRecord& r) override {
        requests.push_back({kind, r, clock.now()});
        const Address at{r.functionCode, r.number, r.block};
        if (kind == kWrite) memory[at] = r.value;
        if (kind == kRead && replies != nullptr)
            replies->OnBatchValue({r.functionCode, r.number, r.block, 0, memory[at]});
    }
};

struct ShownMessage {
    std::string text, caption;
    ToolIcon icon;
};

struct RecordedReporter : ToolReporter {
    int total = -1;
    int steps = 0;
    std::vector<ShownMessage> messages;
    void beginProgress(int t) override {
        total = t;
        steps = 0;
    }
    void stepProgress() override { ++steps; }
    void showMessage(const char* text, const char* caption, ToolIcon icon) override {
        messages.push_back({text, caption, icon});
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const ShownMessage& m : messages) out.push_back(m.text);
        return out;
    }
};

// A loaded application, the reply store on it, and a run's surroundings over the fakes.
struct ToolBench {
    static constexpr uint32_t kRunStart = 1000000;
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    BatchValueStore store{*tables};
    FakeClock clock;
    FakeController controller{clock};
    Pacing pacing;
    RecordedReporter reporter;
    ToolContext context{*tables, controller, pacing, reporter};

    explicit ToolBench(const char* directory = TAVIR_FIXTURES "/tools/app") {
        auto macros = std::make_unique<MacroTable>();
        clearMacroTable(*macros);
        MessageLog log;
        LoadApplication(*macros, *tables, log, directory);
        controller.replies = &store;
        clock.ms = kRunStart;  // the pacing mark (0) lies long past
        pacing.clock = &clock;
        pacing.waiter = &clock;
        pacing.requestIntervalMs = 100;
    }
};

inline std::string fixture(const char* name) {
    return readFileBytes(std::string(TAVIR_FIXTURES "/tools/") + name);
}

}  // namespace tavir::testing
