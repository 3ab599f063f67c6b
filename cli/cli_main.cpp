// tavir-cli: TAVIR's tools without a window.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "check_definitions.h"

int main(int argc, char** argv) {
    CLI::App app{"tavir-cli: TAVIR's tools without a window"};
    app.require_subcommand(1);

    std::string dir = ".";
    CLI::App* check = app.add_subcommand(
        "check-definitions",
        "Read KVAPDEF.H and KVAPTAB.C as the debugger does and print every message; exit 0 when "
        "clean, 1 with messages, 2 when the debugger would refuse the files");
    check->add_option("dir", dir, "Directory of the application (default: the current directory)");

    CLI11_PARSE(app, argc, argv);
    if (*check) return tavir::checkDefinitions(dir, stdout);
    return 0;
}
