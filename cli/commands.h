#pragma once
// Each subcommand lives in its own file and registers itself here: the subcommand with its
// options, and what runs when it was chosen (giving the exit code).
#include <CLI/CLI.hpp>
#include <functional>

namespace tavir::cli {

struct Command {
    CLI::App* app;
    std::function<int()> run;
};

Command addDiffCommand(CLI::App& app);
Command addAdjustCommand(CLI::App& app);
Command addSweepCommand(CLI::App& app);
Command addRestoreCommand(CLI::App& app);
Command addDumpCommand(CLI::App& app);
Command addWatchCommand(CLI::App& app);
Command addRecordCommand(CLI::App& app);
Command addAuditCommand(CLI::App& app);
Command addServeCommand(CLI::App& app);

}  // namespace tavir::cli
