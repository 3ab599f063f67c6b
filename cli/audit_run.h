#pragma once
// tavir-cli audit: a diff of every controller of a fleet against its application, side by side.
// Each controller is asked exactly as a lone diff of it asks (the same requests, in the same
// order, at its own pace); a worker thread per running controller sleeps on that pace.
#include <cstdint>
#include <string>
#include <vector>

#include "audit_board.h"
#include "fleet_file.h"
#include "run_report.h"

namespace tavir::cli {

// A running controller costs two sleeping threads, a link and its tables (about a megabyte):
// a few hundred at once are nothing to one machine, and each controller keeps its own pace.
constexpr int kDefaultParallel = 250;

struct AuditOptions {
    std::string fleet;
    int parallel = kDefaultParallel;
    std::string outDir = ".";
    std::vector<std::string> report;  // FORMAT FILE
    std::string shard;                // K/N, or empty for every row
    std::string kinds = "all";        // for the rows that give none
    uint32_t intervalMs = 1000;       // for the rows that give none
    int timeoutMs = 2000;
};

// The differences file of a controller: NAME.txt in the output folder.
std::string controllerOutPath(const AuditOptions& options, const FleetRow& row);

// Runs the rows, at most options.parallel at once; the results in the rows' order.
std::vector<ControllerResult> runFleet(const std::vector<FleetRow>& rows, const AuditOptions& options,
                                       AuditBoard& board);

// 2 when a controller's run was refused, else 3 when one was not reached or not fully answered,
// else 1 when one differs, else 0.
int auditExitCode(const std::vector<ControllerResult>& results);

// One line per controller and a count of each result, for the end of the run.
std::string summaryTable(const std::vector<ControllerResult>& results);

// The whole audit: reads the fleet file, tries every output, runs, writes the report and prints
// the summary on standard output. Gives the exit code (2 for a bad fleet file or option, nothing
// sent).
int runAudit(const AuditOptions& options);

}  // namespace tavir::cli
