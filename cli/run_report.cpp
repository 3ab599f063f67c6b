#include "run_report.h"

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
    nlohmann::json parameters = nlohmann::json::array();
    for (const ReportEntry& e : report.entries) {
        parameters.push_back(
            {{"kind", e.kind},
             {"name", e.name},
             {"sourceValue", e.source},
             {"controllerValue", e.answered ? nlohmann::json(e.controller) : nlohmann::json()},
             {"verdict", e.verdict}});
    }
    return nlohmann::json{{"tool", report.tool}, {"seconds", report.seconds}, {"parameters", parameters}}
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
            const std::string message = "source " + number(e.source) + ", controller " + number(e.controller);
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

bool writeReport(const RunReport& report, const std::string& format, const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << (format == "json" ? reportJson(report) : reportJunit(report));
    out.close();
    return !out.fail();
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
