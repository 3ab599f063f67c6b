// tavir-cli adjust: the automatic parameter adjustment.
#include "commands.h"
#include "run_report.h"
#include "tool_session.h"
#include "tools/adjustment_tool.h"

namespace tavir::cli {

Command addAdjustCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    auto verify = std::make_shared<bool>(false);
    auto separate = std::make_shared<bool>(false);
    CLI::App* command = app.add_subcommand(
        "adjust", "Write the values of KVAPTAB.C into the controller; exit 1 when the verification fails");
    addToolOptions(*command, *options, true);
    command->add_flag("--verify", *verify, "Read every written value back and compare it");
    command->add_flag("--separate", *separate, "One actions file per kind (name_VG.txt, ...)");
    return {command, [options, verify, separate] {
                const auto started = std::chrono::steady_clock::now();
                return runToolSession(
                    *options,
                    [&](ToolSession& session, ToolContext& context) {
                        AdjustmentOptions run;
                        run.kinds = session.kinds;
                        run.verify = *verify;
                        run.separateFiles = *separate;
                        if (!options->out.empty()) run.fileName = options->out;
                        const bool done = runAdjustment(context, run);
                        session.link->awaitAnswers();
                        return done ? kExitDone : kExitDifferences;
                    },
                    [&](ToolSession& session) { writeSessionReport(*options, "adjust", session, started); },
                    refuseUnreadSource);
            }};
}

}  // namespace tavir::cli
