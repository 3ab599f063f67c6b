// tavir-cli: TAVIR's tools without a window.
#include <CLI/CLI.hpp>
#include <vector>

#include "check_command.h"
#include "commands.h"
#include "tool_session.h"

int main(int argc, char** argv) {
    CLI::App app{"tavir-cli: TAVIR's tools without a window"};
    app.require_subcommand(1);
    tavir::cli::addCheckCommand(app);

    using namespace tavir::cli;
    std::vector<Command> commands = {addDiffCommand(app),    addAdjustCommand(app), addSweepCommand(app),
                                     addRestoreCommand(app), addDumpCommand(app),   addWatchCommand(app),
                                     addRecordCommand(app),  addServeCommand(app)};
    const Command audit = addAuditCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& e) {
        // A subcommand that runs in its callback ends with its own exit code.
        return e.get_exit_code();
    } catch (const CLI::ParseError& e) {
        // Help and version end with 0; every other parse error is bad usage.
        const int code = app.exit(e);
        return code == 0 ? 0 : kExitUsage;
    }
    for (const Command& command : commands)
        if (*command.app) return command.run();
    if (*audit.app) return audit.run();
    return 0;
}
