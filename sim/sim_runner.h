#pragma once
#include <atomic>
#include <functional>
#include <string>

#include "sim_options.h"
#include "simulator.h"

namespace tavir::sim {

// What the platform loop tells its caller: the lines "listening on HOST:PORT", "pty PATH",
// "serial DEVICE", "control on HOST:PORT" as the links open, and control answers of standard
// input. The program prints them on standard output; tests read them.
struct RunnerHooks {
    std::function<void(const std::string& line)> announce;
    std::atomic<bool>* stop = nullptr;  // set from outside to end the loop
};

// Opens the links the options ask for and serves them until "quit", the stop flag or a signal
// to end. Gives the program's exit code: 0, or 1 when a link could not be opened (said on
// standard error).
int runSimulator(Simulator& simulator, const SimOptions& options, const RunnerHooks& hooks);

// The same loop with side on the links; the control commands reach simulator, and with none
// only quit is understood.
int runController(ControllerSide& side, Simulator* simulator, const SimOptions& options,
                  const RunnerHooks& hooks);

// Microseconds of a monotonic clock since its first use.
int64_t monotonicMicros();

}  // namespace tavir::sim
