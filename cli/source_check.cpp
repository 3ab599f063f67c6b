#include "source_check.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>

#include "definitions/table_source.h"
#include "file_search.h"
#include "resources/tools_texts.h"
#include "tools/comparison.h"
#include "tools/parameter_field.h"

namespace tavir::cli {

namespace {

using Source = std::pair<int, const void*>;  // a table and one of its records

// The table row that gives field its value.
Source sourceOf(const ApplicationTables& t, const ParameterField& f) {
    const auto e = static_cast<size_t>(f.entry);
    switch (f.kind) {
        case ParameterKind::ONT:
            return {kConflictTable, &t.clearances[e]};
        case ParameterKind::VG:
        case ParameterKind::GL:
            return {kSignalGroupTimesTable, &t.signalGroups[e]};
        case ParameterKind::MG:
            return {f.pass <= 3 ? kMgTimesTable : kExtraMgTimes1Table + (f.pass - 4) / 3, &t.signalGroups[e]};
        case ParameterKind::HIAAT:
            return {kDetectionTable, &t.detectors[e]};
        case ParameterKind::TIJD:
            return {kTimersTable, &t.timers[e]};
        case ParameterKind::KLOK:
            return {kClocksTable, &t.clocks[e]};
        case ParameterKind::SCH:
            return {kSwitchesTable, &t.switches[e]};
        case ParameterKind::EGGPARM:
            return {kEggparmsTable, &t.eggparms[e]};
        case ParameterKind::EPARM:
            break;
    }
    return {kEparmsTable, &t.eparms[e]};
}

}  // namespace

std::string fieldName(const ParameterField& f) {
    std::string name = std::string(text::kKindFileSuffix[kindIndex(f.kind)] + 1) + " " + f.name;
    if (*f.toName) name += std::string(">") + f.toName;
    if (kindPassCount(f.kind) > 1) name += " (field " + std::to_string(f.pass + 1) + ")";
    return name;
}

namespace {

// The traps of the link in one field's value: its value as written, and the flag of categories 2
// to 12.
void checkWrittenValue(const ParameterField& f, const std::string& place,
                       std::vector<std::string>& warnings) {
    const int32_t written = scaledTableValue(f);
    const double exact = f.tableValue * kindScale(f.kind);
    if (!kindHoldsIntegers(f.kind) && std::fabs(exact) < 2e9 && std::llround(exact) != written) {
        warnings.push_back(
            place + fieldName(f) + ": " + std::to_string(f.tableValue) + " is written as " +
            std::to_string(written) + ", not " + std::to_string(std::llround(exact)) +
            " (the verification then fails, and diff finds no difference of the rounded value)");
    }
    const int32_t category = f.address.functionCode / 32;
    if (written == 1 && category >= 2 && category <= 12) {
        warnings.push_back(place + fieldName(f) +
                           ": the value 1 travels as the flag beside the block group; a controller that "
                           "reads the block group as the value stores 0");
    }
}

}  // namespace

SourceCheck checkTableSource(const MacroTable& macros, ApplicationTables& tables, const char* headerPath,
                             const KindSelection& kinds) {
    SourceCheck check;
    TableSourceReport report;
    loadTableSource(macros, tables, headerPath, &report);
    const std::string path = hostPath(report.path);
    if (!report.opened) {
        check.unreadable = true;
        check.refusals.push_back(path + ": cannot be read; the tools take their values from it");
        return check;
    }
    for (const TableSourceReport::Finding& finding : report.findings)
        check.warnings.push_back(path + ":" + std::to_string(finding.line) + ": " + finding.text);
    std::map<Source, int> lineOf;
    for (const TableSourceReport::Row& row : report.rows)
        lineOf.emplace(Source{row.table, row.record}, row.line);
    for (const ParameterKind kind : runKinds(kinds, tables)) {
        bool reported = false;
        for (const ParameterField& f : kindFields(tables, kind, FieldOrder::kWalk)) {
            if (f.skipped) continue;
            const Source source = sourceOf(tables, f);
            auto found = lineOf.find(source);
            if (found == lineOf.end()) {
                if (!reported) {
                    check.refusals.push_back(path + ": " + fieldName(f) + " has no value in " +
                                             tableSourceTableName(source.first) +
                                             " (the first entry of its kind without one)");
                }
                reported = true;
                continue;
            }
            checkWrittenValue(f, path + ":" + std::to_string(found->second) + ": ", check.warnings);
        }
    }
    return check;
}

void findStopBytes(const std::string& path, std::vector<std::string>& warnings) {
    std::ifstream in(hostPath(path), std::ios::binary);
    int line = 1;
    for (std::istreambuf_iterator<char> at(in), end; at != end; ++at) {
        if (*at == '\n') ++line;
        if (static_cast<unsigned char>(*at) == 0xFF) {
            warnings.push_back(path + ":" + std::to_string(line) +
                               ": a byte 0xFF: TAVIR.EXE stops reading the file here");
            return;
        }
    }
}

}  // namespace tavir::cli
