#pragma once
// The machine-readable result of a run for CI systems: every parameter of the selected kinds
// with its source value, the controller's value and the verdict, as JSON or as JUnit XML.
#include <chrono>
#include <string>
#include <vector>

#include "tools/parameter_kind.h"

namespace tavir::cli {

struct ReportEntry {
    std::string kind;     // ONT, VG, ...
    std::string name;     // the object's name; ONT: "from>to"; a field of several: name, "/", field
    double source;        // the table value as KVAPTAB.C holds it
    bool answered;        // the controller's value arrived
    double controller;    // the controller's integer divided by the kind's scale
    std::string verdict;  // "same", "different" or "no answer"
};

struct RunReport {
    std::string tool;  // diff, adjust
    double seconds = 0;
    std::vector<ReportEntry> entries;
};

// Every field of the selected, available kinds that the walk asks for or that was received, in
// the order of the comparisons.
RunReport collectReport(const char* tool, ApplicationTables& tables, const KindSelection& kinds);

std::string reportJson(const RunReport& report);
std::string reportJunit(const RunReport& report);

// Writes the report in format ("json" or "junit"); false when the file cannot be written.
bool writeReport(const RunReport& report, const std::string& format, const std::string& path);

// One controller of an audit: its diff's result.
struct ControllerResult {
    std::string name;
    std::string link;
    int exitCode = 0;                // as diff's: 0, 1, 2 or 3
    std::vector<std::string> lines;  // what the run said (a refusal, a link failure, ...)
    double seconds = 0;
    RunReport report;  // empty when the application was not loaded
    int count(const char* verdict) const;
    // same, different, refused, unreachable (no answer at all) or incomplete.
    std::string result() const;
};

// An audit's report: one test suite per controller with one test case per parameter kind (a
// difference a failure, a parameter without an answer or a refused run an error), or as JSON.
std::string auditJson(const std::vector<ControllerResult>& results, double seconds);
std::string auditJunit(const std::vector<ControllerResult>& results, double seconds);
bool writeAuditReport(const std::vector<ControllerResult>& results, double seconds, const std::string& format,
                      const std::string& path);

struct ToolOptions;
struct ToolSession;
// The report of a comparing run, when --report asked for one: 0, or 2 when it cannot be written.
int writeSessionReport(const ToolOptions& options, const char* tool, ToolSession& session,
                       std::chrono::steady_clock::time_point started);

}  // namespace tavir::cli
