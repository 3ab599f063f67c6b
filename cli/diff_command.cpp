// tavir-cli diff: the differences tool.
#include <chrono>

#include "commands.h"
#include "differences_session.h"
#include "resources/tools_texts.h"
#include "run_report.h"

namespace tavir::cli {

Command addDiffCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    options->out = text::kDifferencesFileDefault;
    CLI::App* command = app.add_subcommand(
        "diff",
        "Read the parameters from the controller and write where they differ from KVAPTAB.C; "
        "exit 1 when any differs");
    addToolOptions(*command, *options, true);
    return {command, [options] {
                const auto started = std::chrono::steady_clock::now();
                ToolSession session;
                return runDifferencesSession(session, *options, [&](ToolSession& s) {
                    return writeSessionReport(*options, "diff", s, started);
                });
            }};
}

}  // namespace tavir::cli
