// tavir-cli adjust: the automatic parameter adjustment.
#include "commands.h"
#include "run_report.h"
#include "tool_session.h"
#include "tools/adjustment_tool.h"

namespace tavir::cli {

Command addAdjustCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    options->out = text::kAdjustmentFileDefault;
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
                        run.fileName = options->out;
                        run.watch = &session.actions;
                        // The verification is made again once the lost answers were asked for
                        // again; a run with fields still unanswered never says it is done.
                        session.reporter.holdMessages();
                        runAdjustment(context, run);
                        session.link->awaitAnswers();
                        if (!run.verify) {
                            session.reporter.releaseMessages();
                            return kExitDone;
                        }
                        const std::vector<ParameterField> missing = askAgain(session, context);
                        session.reporter.dropMessages();
                        const bool done = verifyAdjustment(context, run.kinds);
                        if (!missing.empty()) return kExitLink;
                        session.reporter.showMessage(done ? text::kAdjustmentDone : text::kAdjustmentFailed,
                                                     text::kAdjustmentCaption,
                                                     done ? ToolIcon::kInformation : ToolIcon::kStop);
                        return done ? kExitDone : kExitDifferences;
                    },
                    [&](ToolSession& session) {
                        return writeSessionReport(*options, "adjust", session, started);
                    },
                    refuseUnreadSource);
            }};
}

}  // namespace tavir::cli
