// tavir-cli diff: the differences tool.
#include <chrono>

#include "commands.h"
#include "run_report.h"
#include "tool_session.h"
#include "tools/differences_tool.h"

namespace tavir::cli {

Command addDiffCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    CLI::App* command = app.add_subcommand(
        "diff",
        "Read the parameters from the controller and write where they differ from KVAPTAB.C; "
        "exit 1 when any differs");
    addToolOptions(*command, *options, true);
    return {command, [options] {
                const auto started = std::chrono::steady_clock::now();
                return runToolSession(
                    *options,
                    [&](ToolSession& session, ToolContext& context) {
                        DifferencesOptions run;
                        run.kinds = session.kinds;
                        if (!options->out.empty()) run.fileName = options->out;
                        const int differences = runDifferences(context, run);
                        session.link->awaitAnswers();
                        return differences > 0 ? kExitDifferences : kExitDone;
                    },
                    [&](ToolSession& session) { writeSessionReport(*options, "diff", session, started); });
            }};
}

}  // namespace tavir::cli
