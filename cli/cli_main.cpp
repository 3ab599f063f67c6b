// tavir-cli: TAVIR's tools without a window.
#include <CLI/CLI.hpp>

#include "check_command.h"

int main(int argc, char** argv) {
    CLI::App app{"tavir-cli: TAVIR's tools without a window"};
    app.require_subcommand(1);
    tavir::cli::addCheckCommand(app);
    CLI11_PARSE(app, argc, argv);
    return 0;
}
