// tavir-sim: loads a controller application, seeds a simulated controller from it and serves it
// over TCP or a serial line until "quit" or an interrupt.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "base/message_log.h"
#include "base/message_sink.h"
#include "definitions/table_source.h"
#include "definitions/text_stream.h"
#include "seed_tables.h"
#include "sim_fleet.h"
#include "sim_io.h"
#include "sim_options.h"
#include "sim_runner.h"
#include "trace_replay.h"

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void onStopSignal(int) {
    stopRequested.store(true);
}

// The parsers' messages, one per line on standard error.
struct StderrLines : tavir::MessageSink {
    int addLine(const char* text) override {
        std::fprintf(stderr, "%s\n", text);
        return 0;
    }
};

// tavir-sim --replay: the trace's controller side on the links instead of the simulator.
int replay(const tavir::sim::SimOptions& options, const tavir::sim::RunnerHooks& hooks) {
    using namespace tavir::sim;
    std::ifstream file(options.replayPath, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "tavir-sim: cannot read the trace %s\n", options.replayPath.c_str());
        return 2;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::vector<TraceChunk> chunks;
    std::string error;
    if (!parseTrace(text.str(), chunks, error)) {
        std::fprintf(stderr, "tavir-sim: %s: %s\n", options.replayPath.c_str(), error.c_str());
        return 2;
    }
    TraceReplay side(std::move(chunks), [](const std::string& line) {
        std::fprintf(stderr, "tavir-sim: replay: %s\n", line.c_str());
    });
    return runController(side, nullptr, options, hooks);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tavir::sim;
    SimOptions options;
    int exitCode = 0;
    if (!parseSimOptions(argc, argv, options, exitCode)) return exitCode;
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    RunnerHooks hooks;
    hooks.stop = &stopRequested;
    hooks.announce = [](const std::string& line) {
        std::fprintf(stdout, "%s\n", line.c_str());
        std::fflush(stdout);
    };
    if (!options.replayPath.empty()) return replay(options, hooks);
    if (options.dir.empty()) options.dir = defaultApplicationDir(programDirectory());

    StderrLines lines;
    tavir::MessageLog messages;
    messages.sink = &lines;
    auto tables = std::make_unique<tavir::ApplicationTables>();
    const tavir::ApplicationLoad load = loadApplicationDirectory(options.dir, *tables, messages);
    if (load.result != tavir::ApplicationLoadResult::kLoaded) {
        std::fprintf(stderr, "tavir-sim: cannot read the application in %s\n", options.dir.c_str());
        return 2;
    }
    // Without a table source the parameters keep the values of the header alone.
    char tablePath[1024];
    std::FILE* table = tavir::tableSourcePath(load.headerPath, tablePath, sizeof tablePath)
                           ? tavir::openFileForPath(tablePath, "rb")
                           : nullptr;
    if (table) {
        std::fclose(table);
    } else {
        std::fprintf(stderr, "tavir-sim: warning: %s cannot be read; the parameters are not seeded from it\n",
                     tablePath);
    }

    SimSettings settings;
    settings.refreshHz = options.rate;
    settings.seed = options.seedGiven ? options.seed : std::random_device{}();
    settings.clockStartSeconds = startClockSeconds(options.seedGiven);
    settings.faults = options.faults;
    if (options.fleet > 0) return serveFleet(*tables, settings, options, hooks);

    FileLogWriter logFile;
    if (!options.logPath.empty() && !logFile.open(options.logPath.c_str())) {
        std::fprintf(stderr, "tavir-sim: cannot create the log %s\n", options.logPath.c_str());
        return 2;
    }
    Simulator simulator(settings, options.logPath.empty() ? nullptr : &logFile);
    int seeded = seedParameters(*tables, simulator.memory());
    simulator.loadApplication(applicationFromTables(*tables));
    std::fprintf(stderr, "tavir-sim: %s: %d parameters, %d signal groups in %d stages\n", options.dir.c_str(),
                 seeded, static_cast<int>(applicationFromTables(*tables).groups.size()),
                 simulator.plan().stageCount());

    return runSimulator(simulator, options, hooks);
}
