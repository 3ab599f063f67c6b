#include "run_report.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli_reporter.h"
#include "resources/tools_texts.h"
#include "tool_session.h"
#include "tools/comparison.h"
#include "tools/parameter_field.h"

namespace tavir::cli {

namespace {

// The field of a kind with several per entry, as the messages and files call it.
std::string fieldLabel(const ParameterField& field) {
    switch (field.kind) {
        case ParameterKind::MG:
            return "MG_TIJD" + std::to_string(field.pass);
        case ParameterKind::HIAAT:
            return field.pass == 0 ? "H_TIJD1" : field.pass == 1 ? "H_TIJD2" : "BZT_TIJD";
        case ParameterKind::KLOK:
            return field.pass == 0 ? "tijdstip 1" : "tijdstip 2";
        default:
            return "";
    }
}

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

nlohmann::json parametersJson(const RunReport& report) {
    nlohmann::json parameters = nlohmann::json::array();
    for (const ReportEntry& e : report.entries) {
        parameters.push_back(
            {{"kind", e.kind},
             {"name", e.name},
             {"sourceValue", e.source},
             {"controllerValue", e.answered ? nlohmann::json(e.controller) : nlohmann::json()},
             {"verdict", e.verdict}});
    }
    return parameters;
}

std::string differenceText(const ReportEntry& e) {
    return "source " + number(e.source) + ", controller " + number(e.controller);
}

std::string xmlAttribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + xmlEscaped(value) + "\"";
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
}

}  // namespace

RunReport collectReport(const char* tool, ApplicationTables& tables, const KindSelection& kinds) {
    RunReport report;
    report.tool = tool;
    for (int k = 0; k < kParameterKindCount; ++k) {
        const ParameterKind kind = kindAt(k);
        if (!kinds.has(kind) || !kindAvailable(kind, tables)) continue;
        for (const ParameterField& field : kindFields(tables, kind, FieldOrder::kByEntry)) {
            const bool answered = field.isReceived();
            if (field.skipped && !answered) continue;
            ReportEntry entry;
            entry.kind = text::kKindFileSuffix[k] + 1;
            entry.name = utf8Text(field.name);
            if (kind == ParameterKind::ONT) entry.name += ">" + utf8Text(field.toName);
            const std::string label = fieldLabel(field);
            if (!label.empty()) entry.name += "/" + label;
            entry.source = field.tableValue;
            entry.answered = answered;
            entry.controller = answered ? field.controller() / static_cast<double>(kindScale(kind)) : 0.0;
            entry.verdict = !answered ? "no answer" : fieldDiffers(field) ? "different" : "same";
            report.entries.push_back(entry);
        }
    }
    return report;
}

std::string reportJson(const RunReport& report) {
    return nlohmann::json{
               {"tool", report.tool}, {"seconds", report.seconds}, {"parameters", parametersJson(report)}}
               .dump(2) +
           "\n";
}

// One test suite per run, one test case per parameter; a difference is a failure, a parameter
// without an answer an error: it was not tested, and the run did not pass.
std::string reportJunit(const RunReport& report) {
    int failures = 0;
    int errors = 0;
    for (const ReportEntry& e : report.entries) {
        failures += e.verdict == "different";
        errors += e.verdict == "no answer";
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites>\n";
    xml += "  <testsuite name=\"tavir-cli " + report.tool + "\" tests=\"" +
           std::to_string(report.entries.size()) + "\" failures=\"" + std::to_string(failures) +
           "\" errors=\"" + std::to_string(errors) + "\" skipped=\"0\" time=\"" + number(report.seconds) +
           "\">\n";
    for (const ReportEntry& e : report.entries) {
        xml += "    <testcase classname=\"" + xmlEscaped(e.kind) + "\" name=\"" + xmlEscaped(e.name) +
               "\" time=\"0\"";
        if (e.verdict == "same") {
            xml += "/>\n";
            continue;
        }
        xml += ">\n";
        if (e.verdict == "different") {
            const std::string message = differenceText(e);
            xml += "      <failure type=\"difference\" message=\"" + xmlEscaped(message) + "\">" +
                   xmlEscaped(message) + "</failure>\n";
        } else {
            xml +=
                "      <error type=\"no answer\" message=\"the controller did not answer a Read of it, "
                "asked three times\"/>\n";
        }
        xml += "    </testcase>\n";
    }
    xml += "  </testsuite>\n</testsuites>\n";
    return xml;
}

int ControllerResult::count(const char* verdict) const {
    int n = 0;
    for (const ReportEntry& e : report.entries) n += e.verdict == verdict;
    return n;
}

std::string ControllerResult::result() const {
    switch (exitCode) {
        case kExitDone:
            return "same";
        case kExitDifferences:
            return "different";
        case kExitLink:
            return count("no answer") == static_cast<int>(report.entries.size()) ? "unreachable"
                                                                                 : "incomplete";
        default:
            return "refused";
    }
}

std::string auditJson(const std::vector<ControllerResult>& results, double seconds) {
    nlohmann::json controllers = nlohmann::json::array();
    for (const ControllerResult& r : results) {
        controllers.push_back({{"name", r.name},
                               {"link", r.link},
                               {"result", r.result()},
                               {"exitCode", r.exitCode},
                               {"seconds", r.seconds},
                               {"messages", r.lines},
                               {"parameters", parametersJson(r.report)}});
    }
    return nlohmann::json{{"tool", "audit"}, {"seconds", seconds}, {"controllers", controllers}}.dump(2) +
           "\n";
}

// A test case per kind: the differences of a kind are its failure; a parameter without an answer
// makes it an error, with the reason the run gave. A refused run (its application or an output) is
// one error case of its own.
std::string auditJunit(const std::vector<ControllerResult>& results, double seconds) {
    std::string suites;
    int tests = 0, failures = 0, errors = 0;
    for (const ControllerResult& r : results) {
        const std::string reason = r.lines.empty() ? "" : r.lines.back();
        std::vector<std::string> kinds;
        for (const ReportEntry& e : r.report.entries)
            if (std::find(kinds.begin(), kinds.end(), e.kind) == kinds.end()) kinds.push_back(e.kind);
        std::string cases;
        int suiteFailures = 0, suiteErrors = 0;
        const auto testCase = [&](const std::string& name, const std::string& child) {
            cases += "    <testcase" + xmlAttribute("classname", r.name) + xmlAttribute("name", name) +
                     " time=\"0\"" + (child.empty() ? "/>\n" : ">\n      " + child + "\n    </testcase>\n");
        };
        const bool refused = r.exitCode == kExitUsage || (kinds.empty() && r.exitCode != kExitDone);
        if (refused) {
            ++suiteErrors;
            testCase("run", "<error type=\"refused\"" + xmlAttribute("message", reason) + "/>");
        }
        for (const std::string& kind : kinds) {
            int total = 0, unanswered = 0;
            std::string differences;
            for (const ReportEntry& e : r.report.entries) {
                if (e.kind != kind) continue;
                ++total;
                unanswered += e.verdict == "no answer";
                if (e.verdict == "different") differences += e.name + ": " + differenceText(e) + "\n";
            }
            const int differing = static_cast<int>(std::count(differences.begin(), differences.end(), '\n'));
            if (unanswered > 0) {
                ++suiteErrors;
                const std::string message = std::to_string(unanswered) + " of " + std::to_string(total) +
                                            " parameters got no answer" +
                                            (reason.empty() ? "" : ": " + reason);
                testCase(kind, "<error type=\"no answer\"" + xmlAttribute("message", message) + "/>");
            } else if (differing > 0) {
                ++suiteFailures;
                const std::string message =
                    std::to_string(differing) + " of " + std::to_string(total) + " parameters differ";
                testCase(kind, "<failure type=\"difference\"" + xmlAttribute("message", message) + ">" +
                                   xmlEscaped(differences) + "</failure>");
            } else {
                testCase(kind, "");
            }
        }
        const int suiteTests = static_cast<int>(kinds.size()) + (refused ? 1 : 0);
        suites += "  <testsuite" + xmlAttribute("name", r.name) + " tests=\"" + std::to_string(suiteTests) +
                  "\" failures=\"" + std::to_string(suiteFailures) + "\" errors=\"" +
                  std::to_string(suiteErrors) + "\" skipped=\"0\" time=\"" + number(r.seconds) + "\">\n" +
                  cases + "  </testsuite>\n";
        tests += suiteTests;
        failures += suiteFailures;
        errors += suiteErrors;
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"tavir-cli audit\" tests=\"" +
           std::to_string(tests) + "\" failures=\"" + std::to_string(failures) + "\" errors=\"" +
           std::to_string(errors) + "\" time=\"" + number(seconds) + "\">\n" + suites + "</testsuites>\n";
}

bool writeAuditReport(const std::vector<ControllerResult>& results, double seconds, const std::string& format,
                      const std::string& path) {
    return writeText(path, format == "json" ? auditJson(results, seconds) : auditJunit(results, seconds));
}

bool writeReport(const RunReport& report, const std::string& format, const std::string& path) {
    return writeText(path, format == "json" ? reportJson(report) : reportJunit(report));
}

int writeSessionReport(const ToolOptions& options, const char* tool, ToolSession& session,
                       std::chrono::steady_clock::time_point started) {
    if (options.report.size() != 2) return kExitDone;
    RunReport report = collectReport(tool, *session.tables, session.kinds);
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (writeReport(report, options.report[0], options.report[1])) return kExitDone;
    session.reporter.say(options.report[1] + ": the report cannot be written");
    return kExitUsage;
}

}  // namespace tavir::cli
