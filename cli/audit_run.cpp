#include "audit_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "differences_session.h"
#include "file_search.h"
#include "output_files.h"

namespace tavir::cli {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A controller's progress goes to the board, its lines are kept for its end.
struct ControllerOutlet : ReporterOutlet {
    ControllerOutlet(AuditBoard& b, size_t i) : board(b), index(i) {}
    void progress(int steps, int total) override { board.progress(index, steps, total); }
    void line(const std::string& text) override { lines.push_back(text); }
    AuditBoard& board;
    size_t index;
    std::vector<std::string> lines;
};

ControllerResult auditController(const FleetRow& row, const AuditOptions& audit, AuditBoard& board,
                                 size_t index, std::mutex& loading) {
    ToolOptions options;
    options.dir = row.dir;
    options.kinds = row.kinds.empty() ? audit.kinds : row.kinds;
    options.intervalMs = row.intervalMs != 0 ? row.intervalMs : audit.intervalMs;
    options.out = controllerOutPath(audit, row);
    options.link = row.link;
    options.link.timeoutMs = audit.timeoutMs;
    ControllerResult result;
    result.name = row.name;
    result.link = linkName(row.link);
    ToolSession session;
    ControllerOutlet outlet(board, index);
    session.reporter.divertTo(&outlet);
    board.started(index, row.name);
    const auto started = std::chrono::steady_clock::now();
    // The applications are loaded one at a time, and each drops its names once loaded (they are
    // needed only while the files are read): a fleet's worth of macro tables would cost a fifth
    // more memory, and two hundred loads at once only queue for the same cores.
    std::unique_lock<std::mutex> load(loading);
    result.exitCode = runDifferencesSession(session, options, nullptr, [&load](ToolSession& s) {
        s.macros.reset();
        load.unlock();
        return kExitDone;
    });
    if (load.owns_lock()) load.unlock();
    result.seconds = secondsSince(started);
    if (!session.headerPath.empty()) result.report = collectReport("diff", *session.tables, session.kinds);
    result.lines = outlet.lines;
    std::vector<std::string> shown;
    for (const std::string& line : outlet.lines) shown.push_back("tavir-cli: " + row.name + ": " + line);
    char end[160];
    std::snprintf(end, sizeof end,
                  "tavir-cli: %s: %s: of %zu parameters %d differ, %d without an answer (%.1f s)",
                  row.name.c_str(), result.result().c_str(), result.report.entries.size(),
                  result.count("different"), result.count("no answer"), result.seconds);
    shown.push_back(end);
    board.finished(index, shown);
    return result;
}

std::string padded(const std::string& text, size_t width, bool right) {
    const std::string fill(width > text.size() ? width - text.size() : 0, ' ');
    return right ? fill + text : text + fill;
}

}  // namespace

std::string controllerOutPath(const AuditOptions& options, const FleetRow& row) {
    return options.outDir + "/" + row.name + ".txt";
}

std::vector<ControllerResult> runFleet(const std::vector<FleetRow>& rows, const AuditOptions& options,
                                       AuditBoard& board) {
    std::vector<ControllerResult> results(rows.size());
    std::atomic<size_t> next{0};
    std::mutex loading;
    std::vector<std::thread> workers;
    const size_t count = std::min(rows.size(), static_cast<size_t>(std::max(1, options.parallel)));
    for (size_t w = 0; w < count; ++w) {
        workers.emplace_back([&] {
            for (size_t i = next++; i < rows.size(); i = next++)
                results[i] = auditController(rows[i], options, board, i, loading);
        });
    }
    for (std::thread& worker : workers) worker.join();
    board.end();
    return results;
}

int auditExitCode(const std::vector<ControllerResult>& results) {
    bool any[kExitLink + 1] = {};
    for (const ControllerResult& r : results) any[std::clamp(r.exitCode, kExitDone, kExitLink)] = true;
    return any[kExitUsage]         ? kExitUsage
           : any[kExitLink]        ? kExitLink
           : any[kExitDifferences] ? kExitDifferences
                                   : kExitDone;
}

std::string summaryTable(const std::vector<ControllerResult>& results) {
    std::vector<std::vector<std::string>> rows = {
        {"controller", "link", "result", "different", "no answer", "seconds"}};
    std::map<std::string, int> counts;
    for (const ControllerResult& r : results) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
        rows.push_back({r.name, r.link, r.result(), std::to_string(r.count("different")),
                        std::to_string(r.count("no answer")), seconds});
        ++counts[r.result()];
    }
    std::vector<size_t> width(rows[0].size(), 0);
    for (const auto& row : rows)
        for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
    std::string text;
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c) text += (c ? "  " : "") + padded(row[c], width[c], c >= 3);
        text += "\n";
    }
    text += std::to_string(results.size()) + " controllers:";
    for (const char* result : {"same", "different", "unreachable", "incomplete", "refused"})
        if (counts.count(result)) text += " " + std::to_string(counts[result]) + " " + result + ",";
    text.back() = '\n';
    return text;
}

int runAudit(const AuditOptions& options) {
    StderrReporter reporter;
    const std::string format = options.report.empty() ? "" : options.report[0];
    if (!format.empty() && format != "json" && format != "junit") {
        reporter.say("--report takes json or junit, not '" + format + "'");
        return kExitUsage;
    }
    int shard = 1, shards = 1;
    if (!options.shard.empty() && !parseShard(options.shard, shard, shards)) {
        reporter.say("--shard takes K/N with 1 <= K <= N, not '" + options.shard + "'");
        return kExitUsage;
    }
    KindSelection kinds;
    std::string unknown;
    if (!parseKinds(options.kinds, kinds, unknown)) {
        reporter.say("unknown parameter kind '" + unknown + "'");
        return kExitUsage;
    }
    std::vector<FleetRow> rows;
    std::string error;
    if (!readFleetFile(options.fleet, rows, error)) {
        reporter.say(error);
        return kExitUsage;
    }
    rows = shardRows(rows, shard, shards);
    std::error_code failed;
    std::filesystem::create_directories(hostPath(options.outDir), failed);
    if (failed) {
        reporter.say(options.outDir + ": cannot be created: " + failed.message() + "; nothing was sent");
        return kExitUsage;
    }
    std::vector<std::string> outputs = {options.report.size() == 2 ? options.report[1] : ""};
    for (const FleetRow& row : rows) outputs.push_back(controllerOutPath(options, row));
    if (!outputsWritable(outputs, reporter)) return kExitUsage;

    const auto started = std::chrono::steady_clock::now();
    AuditBoard board(stderr, takesCursorSequences(stderr));
    const std::vector<ControllerResult> results = runFleet(rows, options, board);
    const double seconds = secondsSince(started);
    std::fputs(summaryTable(results).c_str(), stdout);
    std::fflush(stdout);
    if (!format.empty() && !writeAuditReport(results, seconds, format, options.report[1])) {
        reporter.say(options.report[1] + ": the report cannot be written");
        return kExitUsage;
    }
    return auditExitCode(results);
}

}  // namespace tavir::cli
