// tavir-cli audit: every controller of a fleet checked against its application in one run.
#include "audit_run.h"
#include "commands.h"

namespace tavir::cli {

Command addAuditCommand(CLI::App& app) {
    auto options = std::make_shared<AuditOptions>();
    CLI::App* command = app.add_subcommand(
        "audit",
        "diff every controller of a fleet file side by side, each paced as a lone diff; exit 1 when any "
        "differs, 3 when any was not reached");
    command
        ->add_option("fleet", options->fleet,
                     "Fleet file: CSV with the columns name,dir,link[,baud,kinds,interval]")
        ->required();
    command->add_option("--parallel", options->parallel, "Controllers checked at once")
        ->capture_default_str()
        ->check(CLI::Range(1, 1000));
    command->add_option("--out-dir", options->outDir, "Folder of the differences files, NAME.txt each")
        ->capture_default_str();
    command
        ->add_option("--report", options->report, "One report of every controller: json FILE or junit FILE")
        ->expected(2)
        ->allow_extra_args(false);
    command->add_option("--shard", options->shard, "Only shard K of N: the K-th row and every N-th after it");
    command->add_option("--kinds", options->kinds, "Parameter kinds of the rows that name none")
        ->capture_default_str();
    command
        ->add_option("--interval", options->intervalMs,
                     "Pause between requests of the rows that give none, ms")
        ->capture_default_str()
        ->check(CLI::Range(100, 2000));
    command->add_option("--timeout", options->timeoutMs, "Longest wait for an answer, in ms")
        ->capture_default_str()
        ->check(CLI::Range(100, 60000));
    return {command, [options] { return runAudit(*options); }};
}

}  // namespace tavir::cli
