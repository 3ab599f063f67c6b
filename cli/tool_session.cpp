#include "tool_session.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "base/join_path.h"
#include "base/message_log.h"
#include "definitions/load_application.h"
#include "file_search.h"
#include "link/request_encoder.h"
#include "output_files.h"
#include "resources/tools_texts.h"
#include "source_check.h"

namespace tavir::cli {

namespace {

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The loader's lines are kept and shown only when the application is refused.
struct KeptLines : MessageSink {
    std::vector<std::string> lines;
    int addLine(const char* text) override {
        lines.emplace_back(text);
        return static_cast<int>(lines.size()) - 1;
    }
};

}  // namespace

void addToolOptions(CLI::App& command, ToolOptions& options, bool withReport) {
    command.add_option("--dir", options.dir, "Directory of KVAPDEF.H and KVAPTAB.C")->capture_default_str();
    command
        .add_option(
            "--kinds", options.kinds,
            "Parameter kinds, comma-separated: all, ONT, VG, GL, MG, HIAAT, TIJD, KLOK, SCH, EGGPARM, EPARM")
        ->capture_default_str();
    command.add_option("--interval", options.intervalMs, "Pause between requests, 100 to 2000 ms")
        ->capture_default_str()
        ->check(CLI::Range(100, 2000));
    command.add_option("--out", options.out, "Output file")->capture_default_str();
    if (withReport) {
        command.add_option("--report", options.report, "Machine-readable result: json FILE or junit FILE")
            ->expected(2)
            ->allow_extra_args(false);
    }
    addLinkOptions(command, options.link);
}

bool parseKinds(const std::string& text, KindSelection& kinds, std::string& unknown) {
    kinds = KindSelection();
    std::stringstream list(text);
    std::string name;
    bool any = false;
    while (std::getline(list, name, ',')) {
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        const std::string wanted = lowered(name);
        if (wanted == "all") {
            kinds = KindSelection::all();
            any = true;
            continue;
        }
        int found = -1;
        for (int k = 0; k < kParameterKindCount && found < 0; ++k) {
            if (wanted == lowered(text::kKindFileSuffix[k] + 1) || wanted == lowered(text::kKindKeySuffix[k]))
                found = k;
        }
        if (found < 0) {
            unknown = name;
            return false;
        }
        kinds.set(kindAt(found), true);
        any = true;
    }
    if (!any) unknown = text;
    return any;
}

std::vector<ParameterField> askAgain(ToolSession& session, ToolContext& context) {
    std::vector<ParameterField> missing;
    for (int round = 0; round <= 2; ++round) {
        missing.clear();
        for (const ParameterKind kind : runKinds(session.kinds, *session.tables))
            for (const ParameterField& field : kindFields(*session.tables, kind, FieldOrder::kWalk))
                if (!field.skipped && !field.isReceived()) missing.push_back(field);
        if (missing.empty() || round == 2) break;
        for (const ParameterField& field : missing) {
            SendRequest(context.transport, field.address, kRead);
            pace(context.pacing);
        }
        session.link->awaitAnswers();
    }
    for (const ParameterField& field : missing)
        session.reporter.say("no answer for " + fieldName(field) + " after three Reads");
    return missing;
}

int refuseUnreadSource(ToolSession& session) {
    SourceCheck check =
        checkTableSource(*session.macros, *session.tables, session.headerPath.c_str(), session.kinds);
    findStopBytes(hostPath(session.headerPath), check.warnings);
    for (const std::string& warning : check.warnings) session.reporter.say("warning: " + warning);
    for (const std::string& refusal : check.refusals) session.reporter.say(refusal);
    return check.refusals.empty() ? kExitDone : kExitUsage;
}

int runToolSession(const ToolOptions& options, const ToolBody& body, const ToolStep& after,
                   const ToolStep& prepare) {
    ToolSession session;
    return runToolSession(session, options, body, after, prepare);
}

int runToolSession(ToolSession& session, const ToolOptions& options, const ToolBody& body,
                   const ToolStep& after, const ToolStep& prepare) {
    std::string unknown;
    if (!options.report.empty() && options.report[0] != "json" && options.report[0] != "junit") {
        session.reporter.say("--report takes json or junit, not '" + options.report[0] + "'");
        return kExitUsage;
    }
    if (!parseKinds(options.kinds, session.kinds, unknown)) {
        session.reporter.say("unknown parameter kind '" + unknown + "'");
        return kExitUsage;
    }
    KeptLines lines;
    MessageLog log;
    log.sink = &lines;
    clearMacroTable(*session.macros);
    const ApplicationLoad load =
        LoadApplication(*session.macros, *session.tables, log, withHostSeparator(options.dir).c_str());
    if (load.result != ApplicationLoadResult::kLoaded) {
        for (const std::string& line : lines.lines) session.reporter.say(terminalText(line.c_str()));
        session.reporter.say(std::string(load.headerPath) + ": the application cannot be loaded");
        return kExitUsage;
    }
    session.headerPath = load.headerPath;
    if (prepare) {
        if (int code = prepare(session)) return code;
    }
    if (!outputsWritable(
            {options.out, options.report.size() == 2 ? options.report[1] : "", options.link.traceFile},
            session.reporter))
        return kExitUsage;
    std::string error;
    session.link = CliLink::open(options.link, error);
    if (!session.link) {
        session.reporter.say("the link does not open: " + error);
        return kExitLink;
    }
    session.store = std::make_unique<BatchValueStore>(*session.tables);
    session.link->routeValuesTo(session.store.get());
    session.pacing = Pacing{&session.clock, &session.waiter, options.intervalMs, 0};
    ToolContext context{*session.tables, *session.link, session.pacing, session.reporter};
    int code;
    try {
        code = body(session, context);
        session.reporter.finishProgress();
    } catch (const LinkFailure& failure) {
        session.reporter.finishProgress();
        session.reporter.say(std::string("link failure: ") + failure.what());
        code = kExitLink;
    } catch (const OutputFailure& failure) {
        session.reporter.finishProgress();
        session.reporter.say(failure.what());
        code = kExitUsage;
    }
    if (session.actions.failed) {
        session.reporter.say(options.out + ": a write failed; the file is not complete");
        code = kExitUsage;
    }
    if (after) {
        if (int late = after(session)) code = late;
    }
    return code;
}

}  // namespace tavir::cli
