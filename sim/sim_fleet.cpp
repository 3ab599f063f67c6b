#include "sim_fleet.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "control_commands.h"
#include "seed_tables.h"
#include "sim_io.h"

namespace tavir::sim {

namespace {

struct Member {
    FileLogWriter log;
    std::unique_ptr<Simulator> simulator;
    SimOptions options;
    RunnerHooks hooks;
    std::promise<bool> listening;  // set once: its port opened, or its loop ended first
    bool told = false;
    std::thread thread;
};

// Standard input of a fleet: "quit" ends every controller; the other commands would not know
// which controller they are for.
void takeQuit(const RunnerHooks& hooks) {
    std::unique_ptr<SimIo> io = openPlatformIo();
    if (!io) return;
    Channel input = io->openStdin();
    ControlLines lines;
    bool quit = false;
    while (!quit && !(hooks.stop && hooks.stop->load())) {
        std::vector<Watch> watches;
        if (input != kNoChannel) watches.push_back(Watch{input, false, false});
        io->wait(watches, 200000);
        if (watches.empty() || !watches[0].ready) continue;
        char bytes[4096];
        const int n = io->read(input, reinterpret_cast<uint8_t*>(bytes), sizeof bytes);
        if (n < 0) {
            // Without standard input the fleet runs on until a signal ends it.
            io->close(input, false);
            input = kNoChannel;
            continue;
        }
        lines.feed(bytes, static_cast<size_t>(n), [&](const std::string& line) {
            quit = line == "quit";
            if (hooks.announce) hooks.announce(quit ? "ok" : "error: a fleet takes only quit");
        });
    }
}

}  // namespace

int serveFleet(const ApplicationTables& tables, const SimSettings& settings, const SimOptions& options,
               const RunnerHooks& hooks) {
    std::error_code failed;
    if (!options.logPath.empty()) std::filesystem::create_directories(options.logPath, failed);
    std::mutex announcing;
    std::vector<Member> members(static_cast<size_t>(options.fleet));
    int code = 0;
    for (int n = 1; n <= options.fleet && code == 0; ++n) {
        Member& m = members[static_cast<size_t>(n - 1)];
        char name[24];
        std::snprintf(name, sizeof name, "%03d.jsonl", n);
        const std::string logPath = (std::filesystem::path(options.logPath) / name).string();
        if (!options.logPath.empty() && !m.log.open(logPath.c_str())) {
            std::fprintf(stderr, "tavir-sim: cannot create the log %s\n", logPath.c_str());
            code = 2;
            break;
        }
        SimSettings own = settings;
        own.seed = settings.seed + static_cast<uint64_t>(n - 1);
        m.simulator = std::make_unique<Simulator>(own, options.logPath.empty() ? nullptr : &m.log);
        seedParameters(tables, m.simulator->memory());
        if (std::count(options.plant.begin(), options.plant.end(), n) > 0)
            std::fprintf(stderr, "tavir-sim: controller %d: VG time of %s planted one step longer\n", n,
                         plantDifference(tables, m.simulator->memory()).c_str());
        m.simulator->loadApplication(applicationFromTables(tables));
        m.options = options;
        m.options.readStdin = false;
        if (options.tcpAddress.port != 0) m.options.tcpAddress.port = options.tcpAddress.port + n - 1;
        m.hooks.stop = hooks.stop;
        m.hooks.announce = [&announcing, &hooks, &m](const std::string& line) {
            std::lock_guard<std::mutex> lock(announcing);
            if (hooks.announce) hooks.announce(line);
            if (!m.told && line.rfind("listening on ", 0) == 0) {
                m.told = true;
                m.listening.set_value(true);
            }
        };
        std::future<bool> ready = m.listening.get_future();
        m.thread = std::thread([&m, &announcing] {
            const int result = runSimulator(*m.simulator, m.options, m.hooks);
            std::lock_guard<std::mutex> lock(announcing);
            if (!m.told) {
                m.told = true;
                m.listening.set_value(result == 0);
            }
        });
        // One after the other, so that the listening lines come in the controllers' order.
        if (!ready.get()) code = 1;
    }
    if (code == 0 && options.readStdin) takeQuit(hooks);
    if (hooks.stop) hooks.stop->store(true);
    for (Member& m : members)
        if (m.thread.joinable()) m.thread.join();
    return code;
}

}  // namespace tavir::sim
