#pragma once
// tavir-sim --fleet: many independent simulated controllers of one application in one process,
// for the audit's tests and benchmark. Each has its own memory, plan, port, request log and
// thread (the runner's loop, which sleeps until its links or its plan have work).
#include "definitions/object_tables.h"
#include "sim_options.h"
#include "sim_runner.h"

namespace tavir::sim {

// Serves options.fleet controllers seeded from tables, the controller n (from 1) on the port of
// --tcp plus n - 1 (or a free one for port 0), its log in the folder --log names as 001.jsonl on,
// the seed of settings plus n - 1. The listening lines are announced in the controllers' order.
// Gives 0 once stopped, 1 when a port does not open, 2 when a log cannot be created.
int serveFleet(const ApplicationTables& tables, const SimSettings& settings, const SimOptions& options,
               const RunnerHooks& hooks);

}  // namespace tavir::sim
