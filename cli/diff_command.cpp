// tavir-cli diff: the differences tool.
#include <chrono>

#include "commands.h"
#include "output_files.h"
#include "run_report.h"
#include "tool_session.h"
#include "tools/differences_tool.h"

namespace tavir::cli {

Command addDiffCommand(CLI::App& app) {
    auto options = std::make_shared<ToolOptions>();
    options->out = text::kDifferencesFileDefault;
    CLI::App* command = app.add_subcommand(
        "diff",
        "Read the parameters from the controller and write where they differ from KVAPTAB.C; "
        "exit 1 when any differs");
    addToolOptions(*command, *options, true);
    return {
        command, [options] {
            const auto started = std::chrono::steady_clock::now();
            return runToolSession(
                *options,
                [&](ToolSession& session, ToolContext& context) {
                    DifferencesOptions run;
                    run.kinds = session.kinds;
                    run.fileName = options->out;
                    // The comparison is made again once the lost answers were asked for
                    // again; a run with fields still unanswered never says it found nothing.
                    session.reporter.holdMessages();
                    runDifferences(context, run);
                    session.link->awaitAnswers();
                    const std::vector<ParameterField> missing = askAgain(session, context);
                    session.reporter.dropMessages();
                    OutputWatch watch;
                    TextOutputFile file;
                    file.watch(&watch);
                    if (!file.open(run.fileName.c_str(), FileMode::kTruncate)) watch.failed = true;
                    if (!missing.empty()) session.reporter.holdMessages();
                    const int differences = compareDifferences(context, run.kinds, file);
                    session.reporter.dropMessages();
                    file.close();
                    if (watch.failed)
                        throw OutputFailure(run.fileName + ": a write failed; the file is not complete");
                    if (!missing.empty()) return kExitLink;
                    return differences > 0 ? kExitDifferences : kExitDone;
                },
                [&](ToolSession& session) { return writeSessionReport(*options, "diff", session, started); });
        }};
}

}  // namespace tavir::cli
