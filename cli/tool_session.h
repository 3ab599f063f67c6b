#pragma once
// What the parameter tools' subcommands share: their options, the application, the link, the
// pacing with a real clock, and the exit code of a run.
#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli_link.h"
#include "cli_reporter.h"
#include "definitions/macro_table.h"
#include "tools/batch_values.h"
#include "tools/parameter_field.h"
#include "tools/parameter_kind.h"
#include "tools/steady_pacing.h"
#include "tools/text_output_file.h"
#include "tools/tool_context.h"

namespace tavir::cli {

// Exit codes of every link subcommand.
constexpr int kExitDone = 0;
constexpr int kExitDifferences = 1;  // differences found, or the verification failed
constexpr int kExitUsage = 2;        // bad usage or bad files
constexpr int kExitLink = 3;         // the link did not open, went down or stopped answering

struct ToolOptions {
    std::string dir = ".";
    std::string kinds = "all";
    uint32_t intervalMs = 1000;
    std::string out;                  // each command sets its tool's default name
    std::vector<std::string> report;  // --report FORMAT FILE
    LinkChoice link;
};

// --dir, --kinds, --interval, --out; --report only where a run compares (withReport).
void addToolOptions(CLI::App& command, ToolOptions& options, bool withReport);

// "all", or kind names separated by commas: ONT, VG, ... EPARM or the dialogs' names
// (Ontruimingstijden, VG-tijden, ...), in any case. False, with the unknown name, otherwise.
bool parseKinds(const std::string& text, KindSelection& kinds, std::string& unknown);

// The state of one run: the tables with their working fields, the link and the tool context.
struct ToolSession {
    std::unique_ptr<MacroTable> macros = std::make_unique<MacroTable>();
    std::unique_ptr<ApplicationTables> tables = std::make_unique<ApplicationTables>();
    std::unique_ptr<BatchValueStore> store;
    std::unique_ptr<CliLink> link;
    SteadyClock clock;
    SleepingWaiter waiter;
    Pacing pacing;
    StderrReporter reporter;
    KindSelection kinds;
    std::string headerPath;
    OutputWatch actions{true, false};  // the actions files: line by line, and whether a write failed
};

// After a run's reads and their answers: the fields of the selected kinds that the walk asks for
// and that got no answer are asked for again, paced, up to twice. Gives those still without one,
// each said on standard error.
std::vector<ParameterField> askAgain(ToolSession& session, ToolContext& context);

// Before a run that writes: the warnings of the table source, and exit 2 (nothing sent) when it
// cannot be read or gives no value to an entry of a selected kind; else 0.
int refuseUnreadSource(ToolSession& session);

// Loads the application, tries every output, opens the link and runs body with the context. Gives
// body's exit code, 2 for bad options or files (an output that cannot be written, or whose write
// failed), 3 when the link fails (the files hold what was done before). after runs in every case
// once the run ended, for the reports: an exit code other than 0 from it wins. prepare runs once
// the application is loaded, before the link opens: an exit code other than 0 ends the run there
// (a file the run needs is refused).
using ToolBody = std::function<int(ToolSession& session, ToolContext& context)>;
using ToolStep = std::function<int(ToolSession& session)>;
int runToolSession(const ToolOptions& options, const ToolBody& body, const ToolStep& after = nullptr,
                   const ToolStep& prepare = nullptr);
// The same run in a session the caller made (and reads afterwards).
int runToolSession(ToolSession& session, const ToolOptions& options, const ToolBody& body,
                   const ToolStep& after = nullptr, const ToolStep& prepare = nullptr);

}  // namespace tavir::cli
