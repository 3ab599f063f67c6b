#include "differences_session.h"

#include "output_files.h"
#include "tools/differences_tool.h"

namespace tavir::cli {

int runDifferencesSession(ToolSession& session, const ToolOptions& options, const ToolStep& after,
                          const ToolStep& prepare) {
    return runToolSession(
        session, options,
        [&](ToolSession& s, ToolContext& context) {
            DifferencesOptions run;
            run.kinds = s.kinds;
            run.fileName = options.out;
            // The comparison is made again once the lost answers were asked for again; a run
            // with fields still unanswered never says it found nothing.
            s.reporter.holdMessages();
            runDifferences(context, run);
            s.link->awaitAnswers();
            const std::vector<ParameterField> missing = askAgain(s, context);
            s.reporter.dropMessages();
            OutputWatch watch;
            TextOutputFile file;
            file.watch(&watch);
            if (!file.open(run.fileName.c_str(), FileMode::kTruncate)) watch.failed = true;
            if (!missing.empty()) s.reporter.holdMessages();
            const int differences = compareDifferences(context, run.kinds, file);
            s.reporter.dropMessages();
            file.close();
            if (watch.failed)
                throw OutputFailure(run.fileName + ": a write failed; the file is not complete");
            if (!missing.empty()) return kExitLink;
            return differences > 0 ? kExitDifferences : kExitDone;
        },
        after, prepare);
}

}  // namespace tavir::cli
