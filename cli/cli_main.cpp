// tavir-cli: TAVIR's tools without a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>
#include <vector>

#include "check_definitions.h"
#include "commands.h"
#include "tool_session.h"

int main(int argc, char** argv) {
    CLI::App app{"tavir-cli: TAVIR's tools without a window"};
    app.require_subcommand(1);

    std::string dir = ".";
    CLI::App* check = app.add_subcommand(
        "check-definitions",
        "Read KVAPDEF.H and KVAPTAB.C as the debugger does and print every message; exit 0 when "
        "clean, 1 with messages, 2 when the debugger would refuse the files");
    check->add_option("dir", dir, "Directory of the application (default: the current directory)");

    using namespace tavir::cli;
    const std::vector<Command> commands = {addDiffCommand(app), addAdjustCommand(app), addSweepCommand(app),
                                           addRestoreCommand(app), addDumpCommand(app)};
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version end with 0; every other parse error is bad usage.
        const int code = app.exit(e);
        return code == 0 ? 0 : kExitUsage;
    }
    if (*check) return tavir::checkDefinitions(dir, stdout);
    for (const Command& command : commands)
        if (*command.app) return command.run();
    return kExitUsage;
}
