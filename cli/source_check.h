#pragma once
// What the table source gives the tools, checked before a run that writes and by "check": a run
// never writes a value the table source did not give, and the places where what travels on the
// link is not what the table says are named with their file and line.
#include <string>
#include <vector>

#include "definitions/macro_table.h"
#include "definitions/object_tables.h"
#include "tools/parameter_field.h"
#include "tools/parameter_kind.h"

namespace tavir::cli {

struct SourceCheck {
    bool unreadable = false;  // KVAPTAB.C cannot be read
    // Why a run that writes does not start: the file cannot be read, or per kind the first entry
    // to which the table source gave no value.
    std::vector<std::string> refusals;
    std::vector<std::string> warnings;  // "path:line: text"
};

// Reads the table source next to headerPath again into tables (as loaded from that header, so the
// values stay the same) and checks the fields of kinds that a run writes.
SourceCheck checkTableSource(const MacroTable& macros, ApplicationTables& tables, const char* headerPath,
                             const KindSelection& kinds);

// A field as the messages of tavir-cli name it: "VG SG02", "ONT SG02>SG05", "KLOK KL_SCHOOL (field 2)".
std::string fieldName(const ParameterField& field);

// A byte 0xFF ends the line reader of the header and the debug window files: each one, with its
// line, as a warning.
void findStopBytes(const std::string& path, std::vector<std::string>& warnings);

}  // namespace tavir::cli
